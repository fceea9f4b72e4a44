// wowfix-host auto through the real plug-in: the curve found in a recording
// with a wowing pilot tone corrects it, so that the pilot of the result runs
// steady.

#include "PilotRecording.h"
#include "PluginCommandTest.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>

using hostsim_test::CurvePoint;
using hostsim_test::kTwoPi;
using hostsim_test::PilotRecording;

namespace {

// Nominal at the start, then 0.4 % of wow at 0.5 Hz and 0.05 % of flutter at
// 3 Hz on a drift of 0.15 % over the file.
constexpr hostsim_test::SteadyStartDamage kDamage{0.004, 0.0005, 0.0015};

class Auto : public hostsim_test::PluginCommandTest {
protected:
    std::string writeDamaged(const std::string& name, long long frames) {
        PilotRecording recording;
        recording.frames = frames;
        const std::string path = dir.file(name);
        hostsim_test::writePilotRecording(path, recording, [frames](long long n) {
            return hostsim_test::steadyStartSpeed(n, frames, kDamage);
        });
        return path;
    }
};

}  // namespace

TEST_F(Auto, CorrectedPilotRunsSteady) {
    const long long frames = 8 * 48000;
    const std::string input = writeDamaged("damaged.wav", frames);
    const std::string steady = dir.file("steady.wav");
    ASSERT_EQ(run({"auto", input, steady, "--algorithm", "pilot", "--pvc-out", dir.file("found.pvc"), "--quiet"}), 0)
        << messages.str();

    // For every output frame the input advances by 1 / speed, so the output
    // is as long as the curve's ratios add up to over the input.
    const std::vector<CurvePoint> found = hostsim_test::readCurve(dir.file("found.pvc"));
    ASSERT_FALSE(found.empty());
    double ratios = 0.0;
    double trueRatios = 0.0;
    for (long long n = 0; n < frames; ++n) {
        ratios += hostsim_test::curveAt(found, n);
        trueRatios += hostsim_test::steadyStartSpeed(n, frames, kDamage);
    }
    const hostsim_test::Audio corrected = hostsim_test::readAudio(steady);
    ASSERT_EQ(corrected.channels, 2);
    EXPECT_EQ(corrected.sampleRate, 48000);
    EXPECT_NEAR(static_cast<double>(corrected.frames), ratios, 8.0);
    EXPECT_NEAR(static_cast<double>(corrected.frames), trueRatios, 0.0005 * frames);

    // The damage shows in the curve found: it rises well past 0.4 %.
    double highest = 0.0;
    for (const CurvePoint& point : found) highest = std::max(highest, point.value);
    EXPECT_GT(highest, 1.004);

    // Tracked again, the pilot of the result reads steady. Thinning keeps a
    // point only where the reading moved more than 0.001 from the last one,
    // and the curve that corrected the file was thinned alike: what is left
    // stays within that step.
    ASSERT_EQ(run({"detect", steady, "--algorithm", "pilot", "--pvc", dir.file("after.pvc"), "--quiet"}), 0)
        << messages.str();
    const std::vector<CurvePoint> after = hostsim_test::readCurve(dir.file("after.pvc"));
    ASSERT_FALSE(after.empty());
    for (const CurvePoint& point : after) EXPECT_NEAR(point.value, 1.0, 0.0015) << "at " << point.position;
    EXPECT_LT(after.size(), found.size());
}

TEST_F(Auto, KeepsTheCurveAndTheSpectrogramOfTheRun) {
    const std::string input = writeDamaged("damaged.wav", 2 * 48000);
    ASSERT_EQ(run({"auto", input, dir.file("out.flac"), "--algorithm", "pilot", "--format", "flac", "--pvc-out",
                   dir.file("found.pvc"), "--png", dir.file("picture.png"), "--param", "fft-length=2048"}),
              0)
        << messages.str();
    // The same detection alone gives the same curve.
    ASSERT_EQ(run({"detect", input, "--algorithm", "pilot", "--pvc", dir.file("alone.pvc"), "--quiet", "--param",
                   "fft-length=2048"}),
              0);
    EXPECT_EQ(hostsim_test::readBytes(dir.file("found.pvc")), hostsim_test::readBytes(dir.file("alone.pvc")));
    EXPECT_EQ(hostsim_test::readBytes(dir.file("picture.png")).substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    const hostsim_test::Audio out = hostsim_test::readAudio(dir.file("out.flac"));
    EXPECT_EQ(out.format & SF_FORMAT_TYPEMASK, SF_FORMAT_FLAC);
    EXPECT_GT(out.frames, 2 * 48000);
}

TEST_F(Auto, AFailedDetectionWritesNothing) {
    const std::string input = dir.file("low.wav");
    hostsim_test::writeAudio(input, 2, 22050, 22050, [](long long n, int) {
        return static_cast<float>(0.3 * std::sin(kTwoPi * 440.0 * static_cast<double>(n) / 22050.0));
    });
    const std::string earlier = dir.file("out.wav");
    hostsim_test::writeText(earlier, "an earlier result");
    EXPECT_EQ(run({"auto", input, earlier, "--algorithm", "pilot", "--pvc-out", dir.file("c.pvc"), "--png",
                   dir.file("p.png"), "--quiet"}),
              1);
    EXPECT_NE(messages.str().find("Sampling frequency is too low!"), std::string::npos) << messages.str();
    EXPECT_EQ(hostsim_test::readBytes(earlier), "an earlier result");
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"low.wav", "out.wav"})) << "no curve, picture or litter";
}

TEST_F(Auto, OutputsMustBeDistinctAndNotTheInput) {
    const std::string input = writeDamaged("damaged.wav", 48000);
    const std::string before = hostsim_test::readBytes(input);
    EXPECT_EQ(run({"auto", input, input, "--algorithm", "pilot", "--quiet"}), 1);
    EXPECT_NE(messages.str().find("is the input file"), std::string::npos) << messages.str();
    EXPECT_EQ(run({"auto", input, dir.file("out.wav"), "--algorithm", "pilot", "--png", input}), 1);
    EXPECT_EQ(run({"auto", input, dir.file("out.wav"), "--algorithm", "pilot", "--pvc-out", dir.file("x"), "--png",
                   dir.file("x")}),
              1);
    EXPECT_NE(messages.str().find("named for two of the outputs"), std::string::npos) << messages.str();
    EXPECT_EQ(hostsim_test::readBytes(input), before);
    EXPECT_FALSE(hostsim_test::exists(dir.file("out.wav")));
}

TEST_F(Auto, UnknownParameterStopsBeforeAnythingIsWritten) {
    const std::string input = writeDamaged("damaged.wav", 48000);
    EXPECT_EQ(run({"auto", input, dir.file("out.wav"), "--algorithm", "pilot", "--param", "speed=2", "--quiet"}), 2);
    EXPECT_NE(messages.str().find("fft-length"), std::string::npos) << messages.str();
    EXPECT_FALSE(hostsim_test::exists(dir.file("out.wav")));
}
