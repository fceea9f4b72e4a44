// The spectral-domain algorithm through the substitute host and the real
// plug-in: a stereo recording of a steady tone with known wow, detected by
// wowfix-host detect --algorithm spectral.

#include "PilotRecording.h"
#include "PluginCommandTest.h"

#include <gtest/gtest.h>

#include <cmath>

using hostsim_test::CurvePoint;
using hostsim_test::kTwoPi;
using hostsim_test::PilotRecording;

namespace {

constexpr int kRate = 44100;

class SpectralDetection : public hostsim_test::PluginCommandTest {
protected:
    void SetUp() override {
        PluginCommandTest::SetUp();
        if (IsSkipped()) return;
        recording.sampleRate = kRate;
        recording.frames = 4 * kRate;
        recording.pilotHz = 15000.0;  // outside every band asked for below
        recording.programmeHz = 2000.0;
        recording.programmeAmplitude = 0.5;
        hostsim_test::writePilotRecording(dir.file("wow.wav"), recording, speed);
    }

    static double wow(long long n) { return 1.0 + 0.003 * std::sin(kTwoPi * 0.5 * n / kRate); }
    hostsim_test::SpeedCurve speed = wow;
    PilotRecording recording;
};

TEST_F(SpectralDetection, CurveFollowsTheWowOfASteadyPartial) {
    const std::string pvc = dir.file("found.pvc");
    ASSERT_EQ(run({"detect", dir.file("wow.wav"), "--algorithm", "spectral", "--area", "0:4:1500:2500", "--param",
                   "fft-length=4096", "--pvc", pvc, "--quiet"}),
              0)
        << messages.str();
    const std::vector<CurvePoint> curve = hostsim_test::readCurve(pvc);
    ASSERT_GT(curve.size(), 50u);
    // Away from the edges, where the frames are whole.
    double sum = 0.0, lowest = 2.0, highest = 0.0;
    int count = 0;
    for (long long n = kRate / 4; n < recording.frames - kRate / 4; n += 256) {
        const double v = hostsim_test::curveAt(curve, n);
        const double e = v - wow(n);
        sum += e * e;
        ++count;
        lowest = std::min(lowest, v);
        highest = std::max(highest, v);
    }
    EXPECT_LT(std::sqrt(sum / count), 0.0008);  // the wow itself is 0.0021 RMS
    EXPECT_GT(highest - lowest, 0.004);
}

TEST_F(SpectralDetection, AnAreaWithoutPartialsFailsAndTheOptionBelongsToSpectralOnly) {
    EXPECT_NE(run({"detect", dir.file("wow.wav"), "--algorithm", "spectral", "--area", "1:2:5000:6000", "--pvc",
                   dir.file("none.pvc"), "--quiet"}),
              0);
    EXPECT_NE(messages.str().find("No partial"), std::string::npos) << messages.str();
    EXPECT_FALSE(hostsim_test::exists(dir.file("none.pvc")));
    EXPECT_NE(run({"detect", dir.file("wow.wav"), "--algorithm", "pilot", "--area", "0:1:100:200", "--pvc",
                   dir.file("none.pvc")}),
              0);
    EXPECT_NE(run({"detect", dir.file("wow.wav"), "--algorithm", "spectral", "--area", "0:1:100", "--pvc",
                   dir.file("none.pvc")}),
              0);
    EXPECT_NE(messages.str().find("START:END:LOWHZ:HIGHHZ"), std::string::npos) << messages.str();
}

}  // namespace
