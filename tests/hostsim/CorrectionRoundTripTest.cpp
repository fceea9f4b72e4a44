// Corrections through the real wowfix plug-in and real files.

#include "HostTestSupport.h"

#include "hostsim/cli/Usage.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <sstream>

using hostsim_test::Audio;
using hostsim_test::TempDir;

namespace {

constexpr double kPi = 3.141592653589793;
// The resampler's window weighs its centre tap 0.5 (1 - cos(16 pi / 17)), so a
// flat curve copies every frame scaled by it.
const double kCentreWeight = 0.5 * (1.0 - std::cos(16.0 * kPi / 17.0));

float twoTones(long long frame, int channel) {
    const double f = channel == 0 ? 440.0 : 1750.0;
    return static_cast<float>(0.4 * std::sin(2.0 * kPi * f * static_cast<double>(frame) / 44100.0));
}

class Correction : public ::testing::Test {
protected:
    void SetUp() override {
        plugin = hostsim_test::realPlugin();
        if (plugin.empty()) GTEST_SKIP() << "WOWFIX_PLUGIN is not set";
    }

    // Runs the command in-process; answers its exit status.
    int correct(const std::string& input, const std::string& output, const std::string& curve,
                std::vector<std::string> extra = {}) {
        std::vector<std::string> args = {"correct", input, output, "--pvc", curve, "--plugin", plugin, "--quiet"};
        args.insert(args.end(), extra.begin(), extra.end());
        std::ostringstream out;
        messages.str("");
        return wowfix::hostsim::runCommandLine(args, out, messages);
    }

    std::string plugin;
    std::ostringstream messages;
    TempDir dir;
};

}  // namespace

TEST_F(Correction, FlatCurveKeepsEveryFrameInPlace) {
    const std::string input = dir.file("mono.wav");
    hostsim_test::writeAudio(input, 1, 44100, 30000, twoTones);
    hostsim_test::writeFlatCurve(dir.file("flat.pvc"), 30000, 1.0);
    ASSERT_EQ(correct(input, dir.file("out.wav"), dir.file("flat.pvc")), 0) << messages.str();
    const Audio in = hostsim_test::readAudio(input);
    const Audio out = hostsim_test::readAudio(dir.file("out.wav"));
    ASSERT_EQ(out.frames, in.frames);
    EXPECT_EQ(out.channels, 1);
    EXPECT_EQ(out.sampleRate, 44100);
    EXPECT_EQ(out.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    for (long long i = 0; i < out.frames; ++i)
        ASSERT_NEAR(out.at(i, 0), kCentreWeight * in.at(i, 0), 1e-5) << "frame " << i;
}

TEST_F(Correction, DoubleSpeedCurveDoublesTheLength) {
    const std::string input = dir.file("mono.wav");
    hostsim_test::writeAudio(input, 1, 44100, 20000, twoTones);
    hostsim_test::writeFlatCurve(dir.file("double.pvc"), 20000, 2.0);
    ASSERT_EQ(correct(input, dir.file("out.wav"), dir.file("double.pvc")), 0) << messages.str();
    const Audio out = hostsim_test::readAudio(dir.file("out.wav"));
    EXPECT_NEAR(static_cast<double>(out.frames), 40000.0, 1.0);
    // Every second output frame lies on an input frame.
    const Audio in = hostsim_test::readAudio(input);
    for (long long i = 100; i < 19000; i += 37) EXPECT_NEAR(out.at(2 * i, 0), kCentreWeight * in.at(i, 0), 1e-5);
}

TEST_F(Correction, BlockSizeDoesNotChangeTheOutput) {
    const std::string input = dir.file("stereo.wav");
    hostsim_test::writeAudio(input, 2, 44100, 12000, twoTones);
    // A curve that moves, so that fractional read positions cross the block joins.
    hostsim_test::writeText(dir.file("wow.pvc"), "0 0.98\n3000 1.03\n7000 0.995\n11999 1.02\n");
    ASSERT_EQ(correct(input, dir.file("ref.wav"), dir.file("wow.pvc"), {"--block", "4096"}), 0) << messages.str();
    const Audio reference = hostsim_test::readAudio(dir.file("ref.wav"));
    ASSERT_GT(reference.frames, 11000);
    for (const char* block : {"1", "7", "1000", "8192"}) {
        const std::string output = dir.file(std::string("out") + block + ".wav");
        ASSERT_EQ(correct(input, output, dir.file("wow.pvc"), {"--block", block}), 0) << messages.str();
        const Audio out = hostsim_test::readAudio(output);
        ASSERT_EQ(out.frames, reference.frames) << "block " << block;
        double worst = 0.0;
        for (std::size_t i = 0; i < out.samples.size(); ++i)
            worst = std::max(worst, static_cast<double>(std::fabs(out.samples[i] - reference.samples[i])));
        EXPECT_LE(worst, 1e-7) << "block " << block;
    }
}

TEST_F(Correction, StereoStaysStereoWithEachChannelItsOwn) {
    const std::string input = dir.file("stereo.wav");
    hostsim_test::writeAudio(input, 2, 48000, 9000, twoTones);
    hostsim_test::writeFlatCurve(dir.file("flat.pvc"), 9000, 1.0);
    ASSERT_EQ(correct(input, dir.file("out.wav"), dir.file("flat.pvc")), 0) << messages.str();
    const Audio in = hostsim_test::readAudio(input);
    const Audio out = hostsim_test::readAudio(dir.file("out.wav"));
    ASSERT_EQ(out.channels, 2);
    EXPECT_EQ(out.sampleRate, 48000);
    ASSERT_EQ(out.frames, in.frames);
    for (long long i = 0; i < out.frames; i += 13) {
        ASSERT_NEAR(out.at(i, 0), kCentreWeight * in.at(i, 0), 1e-5);
        ASSERT_NEAR(out.at(i, 1), kCentreWeight * in.at(i, 1), 1e-5);
    }
}

TEST_F(Correction, SelectionCorrectsOnlyItsFrames) {
    const std::string input = dir.file("mono.wav");
    hostsim_test::writeAudio(input, 1, 44100, 20000, twoTones);
    hostsim_test::writeFlatCurve(dir.file("flat.pvc"), 6000, 1.0);
    ASSERT_EQ(correct(input, dir.file("out.wav"), dir.file("flat.pvc"), {"--selection", "3000:9000"}), 0)
        << messages.str();
    const Audio in = hostsim_test::readAudio(input);
    const Audio out = hostsim_test::readAudio(dir.file("out.wav"));
    ASSERT_EQ(out.frames, 6000);
    for (long long i = 0; i < out.frames; ++i)
        ASSERT_NEAR(out.at(i, 0), kCentreWeight * in.at(3000 + i, 0), 1e-5) << "frame " << i;
}

TEST_F(Correction, OutputKeepsTheInputsContainer) {
    const std::string input = dir.file("in.aiff");
    hostsim_test::writeAudio(input, 1, 22050, 4000, twoTones, SF_FORMAT_AIFF | SF_FORMAT_PCM_16);
    hostsim_test::writeFlatCurve(dir.file("flat.pvc"), 4000, 1.0);
    ASSERT_EQ(correct(input, dir.file("out.aiff"), dir.file("flat.pvc")), 0) << messages.str();
    const Audio out = hostsim_test::readAudio(dir.file("out.aiff"));
    EXPECT_EQ(out.format, SF_FORMAT_AIFF | SF_FORMAT_FLOAT) << "32-bit float whatever the input's encoding";
    EXPECT_EQ(out.sampleRate, 22050);
    EXPECT_EQ(out.frames, 4000);
}

TEST_F(Correction, AnUnreadableCurveStopsBeforeAnyOutput) {
    const std::string input = dir.file("mono.wav");
    hostsim_test::writeAudio(input, 1, 44100, 1000, twoTones);
    hostsim_test::writeText(dir.file("out.wav"), "old");
    EXPECT_EQ(correct(input, dir.file("out.wav"), dir.file("missing.pvc")), 1);
    EXPECT_NE(messages.str().find("cannot use the curve '" + dir.file("missing.pvc") + "'"), std::string::npos)
        << messages.str();
    EXPECT_EQ(hostsim_test::readBytes(dir.file("out.wav")), "old");
}

TEST_F(Correction, FilesThePlugInDoesNotTakeAreRefused) {
    const std::string input = dir.file("three.wav");
    hostsim_test::writeAudio(input, 3, 44100, 1000, [](long long, int) { return 0.1f; });
    hostsim_test::writeFlatCurve(dir.file("flat.pvc"), 1000, 1.0);
    EXPECT_EQ(correct(input, dir.file("out.wav"), dir.file("flat.pvc")), 1);
    EXPECT_NE(messages.str().find("does not take"), std::string::npos) << messages.str();
    EXPECT_FALSE(hostsim_test::exists(dir.file("out.wav")));
}

TEST_F(Correction, WithoutAnUndoFolderTheRunSaysSoAndStillSucceeds) {
    const std::string input = dir.file("mono.wav");
    hostsim_test::writeAudio(input, 1, 44100, 1000, twoTones);
    hostsim_test::writeFlatCurve(dir.file("c.pvc"), 1000, 1.0);
    // A file where the folder should be: no folder can be made below it.
    hostsim_test::writeText(dir.file("blocked"), "not a folder");
    const auto result = hostsim_test::runHostCommand(
        {"correct", input, dir.file("out.wav"), "--pvc", dir.file("c.pvc"), "--plugin", plugin, "--quiet"},
        {"WOWFIX_TEMP=" + dir.file("blocked") + "/temp"});
    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_NE(result.output.find("wowfix-host: note: "), std::string::npos) << result.output;
    EXPECT_EQ(hostsim_test::readAudio(dir.file("out.wav")).frames, 1000);
}
