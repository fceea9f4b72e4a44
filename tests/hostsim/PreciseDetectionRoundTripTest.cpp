// The precise detectors through the real wowfix plug-in: wowfix-host detect
// --algorithm pilot-precise and music-precise on recordings whose speed
// follows a known curve.

#include "PilotRecording.h"
#include "PluginCommandTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using hostsim_test::CurvePoint;
using hostsim_test::kTwoPi;
using hostsim_test::PilotRecording;

namespace {

// 0.3 % wow at 0.5 Hz and 0.05 % flutter at 8 Hz around a speed 0.1 % fast.
double wowingSpeed(long long frame) {
    const double t = static_cast<double>(frame) / 48000.0;
    return 1.001 + 0.003 * std::sin(kTwoPi * 0.5 * t) + 0.0005 * std::sin(kTwoPi * 8.0 * t);
}

double median(std::vector<double> v) {
    std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
    return v[v.size() / 2];
}

// RMS of curve / reference - speed / speedReference over [first, last), every 64 frames;
// a reference of 0 means the median over the same frames.
double rmsError(const std::vector<CurvePoint>& curve, long long first, long long last, double reference,
                double speedReference) {
    std::vector<double> found, truth;
    for (long long n = first; n < last; n += 64) {
        found.push_back(hostsim_test::curveAt(curve, n));
        truth.push_back(wowingSpeed(n));
    }
    if (reference == 0.0) reference = median(found);
    if (speedReference == 0.0) speedReference = median(truth);
    double sum = 0.0;
    for (std::size_t i = 0; i < found.size(); ++i) sum += std::pow(found[i] / reference - truth[i] / speedReference, 2);
    return std::sqrt(sum / static_cast<double>(found.size()));
}

class PreciseDetection : public hostsim_test::PluginCommandTest {
protected:
    void SetUp() override {
        PluginCommandTest::SetUp();
        if (IsSkipped()) return;
        recording.frames = 6 * 48000;
        input = dir.file("wow.wav");
        hostsim_test::writePilotRecording(input, recording, wowingSpeed);
    }

    PilotRecording recording;
    std::string input;
};

}  // namespace

TEST_F(PreciseDetection, PilotCurveMatchesTheSpeedAgainstTheGivenNominalFrequency) {
    ASSERT_EQ(run({"detect", input, "--algorithm", "pilot-precise", "--param", "pilot-frequency=19000", "--pvc",
                   dir.file("p.pvc"), "--quiet"}),
              0)
        << messages.str();
    const std::vector<CurvePoint> curve = hostsim_test::readCurve(dir.file("p.pvc"));
    ASSERT_GT(curve.size(), 1000u) << "a point every 256 frames, nothing thinned";
    EXPECT_EQ(curve.back().position, recording.frames - 1);
    // Speed 1.0 is the nominal pilot: the 0.1 % offset is kept. Float values: 1e-7.
    EXPECT_LT(rmsError(curve, 4800, recording.frames - 4800, 1.0, 1.0), 2e-5);
}

TEST_F(PreciseDetection, MusicCurveFollowsTheProgrammeTone) {
    // The 1000 Hz tone is the programme; the pilot lies above the partials' band.
    ASSERT_EQ(run({"detect", input, "--algorithm", "music-precise", "--pvc", dir.file("m.pvc"), "--quiet"}), 0)
        << messages.str();
    const std::vector<CurvePoint> curve = hostsim_test::readCurve(dir.file("m.pvc"));
    ASSERT_GT(curve.size(), 1000u);
    EXPECT_LT(rmsError(curve, 24000, recording.frames - 24000, 0.0, 0.0), 1e-4);
}

TEST_F(PreciseDetection, ParametersAndRefusals) {
    ASSERT_EQ(run({"detect", input, "--algorithm", "pilot-precise", "--list-params"}), 0) << messages.str();
    EXPECT_NE(output.str().find("Pilot frequency"), std::string::npos) << output.str();
    ASSERT_EQ(run({"detect", input, "--algorithm", "music-precise", "--list-params", "--param",
                   "fft-length=2048"}),
              0)
        << messages.str();
    // The line of the FFT length shows the setting asked for (columns as wide as the longest name).
    const std::string list = output.str();
    const std::size_t at = list.find("FFT Length ");
    ASSERT_NE(at, std::string::npos) << list;
    EXPECT_NE(list.substr(at, list.find('\n', at) - at).find(" 2048 smpl"), std::string::npos) << list;
    // The plain tracker's list is untouched by the precise one.
    ASSERT_EQ(run({"detect", input, "--algorithm", "pilot", "--list-params"}), 0) << messages.str();
    EXPECT_EQ(output.str().find("Pilot frequency"), std::string::npos) << output.str();

    // No pilot in the file: a message, and the existing curve stays.
    const std::string plain = dir.file("plain.wav");
    hostsim_test::writeAudio(plain, 1, 48000, 48000, [](long long n, int) {
        return static_cast<float>(0.3 * std::sin(kTwoPi * 1000.0 * static_cast<double>(n) / 48000.0));
    });
    const std::string kept = dir.file("kept.pvc");
    hostsim_test::writeText(kept, "0 1.000000\n100 1.010000\n");
    EXPECT_EQ(run({"detect", plain, "--algorithm", "pilot-precise", "--pvc", kept, "--quiet"}), 1);
    EXPECT_NE(messages.str().find("No pilot tone"), std::string::npos) << messages.str();
    EXPECT_EQ(hostsim_test::readBytes(kept), "0 1.000000\n100 1.010000\n");
}
