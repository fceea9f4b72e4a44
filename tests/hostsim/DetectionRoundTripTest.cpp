// Detection through the real wowfix plug-in: recordings whose pilot tone
// follows a known speed curve, tracked by wowfix-host detect.

#include "PilotRecording.h"
#include "PluginCommandTest.h"

#include <gtest/gtest.h>

#include <cmath>

using hostsim_test::CurvePoint;
using hostsim_test::kTwoPi;
using hostsim_test::PilotRecording;

namespace {

// Starts at nominal speed with zero slope (the tracker measures against the
// first frames) and then wows by 0.3 % at 0.5 Hz, flutters by 0.05 % at
// 3 Hz and drifts up by 0.1 % over the file.
constexpr hostsim_test::SteadyStartDamage kWow{0.003, 0.0005, 0.001};

struct Deviation {
    double largest = 0.0;
    double rms = 0.0;
};

// The curve against the true speed over the frames [first, last), every 64.
Deviation compare(const std::vector<CurvePoint>& curve, const hostsim_test::SpeedCurve& speed, long long first,
                  long long last) {
    Deviation d;
    double sum = 0.0;
    long long count = 0;
    for (long long n = first; n < last; n += 64) {
        const double e = hostsim_test::curveAt(curve, n) - speed(n);
        d.largest = std::max(d.largest, std::fabs(e));
        sum += e * e;
        ++count;
    }
    d.rms = count > 0 ? std::sqrt(sum / count) : NAN;
    return d;
}

class Detection : public hostsim_test::PluginCommandTest {};

}  // namespace

TEST_F(Detection, CurveFollowsThePilotsSpeed) {
    PilotRecording recording;
    recording.frames = 8 * 48000;
    const long long frames = recording.frames;
    const hostsim_test::SpeedCurve speed = [frames](long long n) {
        return hostsim_test::steadyStartSpeed(n, frames, kWow);
    };
    const std::string input = dir.file("wow.wav");
    hostsim_test::writePilotRecording(input, recording, speed);

    ASSERT_EQ(run({"detect", input, "--algorithm", "pilot", "--pvc", dir.file("wow.pvc"), "--quiet"}), 0)
        << messages.str();
    const std::vector<CurvePoint> curve = hostsim_test::readCurve(dir.file("wow.pvc"));
    ASSERT_GT(curve.size(), 10u);
    EXPECT_EQ(curve.back().position, frames - 1) << "the curve covers the file";

    // Every point the tracker inserted lies close to the true speed.
    for (std::size_t i = 1; i + 1 < curve.size(); ++i)
        EXPECT_NEAR(curve[i].value, speed(curve[i].position), 0.0005) << "point at " << curve[i].position;
    // Between them the curve is a straight line. Thinning drops a value
    // within 0.001 of its left neighbour, so over a crest the line may pass
    // up to about 0.001 below the dropped values while they stand up to
    // 0.001 above the point: 0.002 is the bound on a single frame.
    const Deviation d = compare(curve, speed, 2048, frames - 4096);
    EXPECT_LT(d.largest, 0.002);
    EXPECT_LT(d.rms, 0.0007);
}

TEST_F(Detection, FileBelowThePilotRateGetsThePlugInsMessage) {
    const std::string input = dir.file("low.wav");
    hostsim_test::writeAudio(input, 1, 22050, 22050, [](long long n, int) {
        return static_cast<float>(0.3 * std::sin(kTwoPi * 1000.0 * static_cast<double>(n) / 22050.0));
    });
    const std::string curve = dir.file("kept.pvc");
    hostsim_test::writeText(curve, "0 1.000000\n100 1.010000\n");
    EXPECT_EQ(run({"detect", input, "--algorithm", "pilot", "--pvc", curve, "--quiet"}), 1);
    EXPECT_NE(messages.str().find("Sampling frequency is too low!"), std::string::npos) << messages.str();
    EXPECT_EQ(hostsim_test::readBytes(curve), "0 1.000000\n100 1.010000\n") << "an existing curve is kept";
    // A parameter cannot be set either: the detector does not exist.
    EXPECT_EQ(run({"detect", input, "--algorithm", "pilot", "--pvc", curve, "--param", "fft-length=2048"}), 1);
    EXPECT_NE(messages.str().find("Sampling frequency is too low!"), std::string::npos) << messages.str();
}

TEST_F(Detection, ParametersAreSetByNameInDisplayUnits) {
    PilotRecording recording;
    recording.frames = 48000;
    const std::string input = dir.file("short.wav");
    hostsim_test::writePilotRecording(input, recording, [](long long) { return 1.0; });
    // Any case, with '-', '_' or spaces between the words.
    ASSERT_EQ(run({"detect", input, "--algorithm", "pilot", "--list-params", "--param", "FFT_Length=4096",
                   "--param", "time smooth=5", "--param", "Freq-Smooth=2"}),
              0)
        << messages.str();
    const std::string list = output.str();
    EXPECT_NE(list.find("FFT Length          4096 smpl"), std::string::npos) << list;
    EXPECT_NE(list.find("Time smooth            5 order"), std::string::npos) << list;
    EXPECT_NE(list.find("Freq smooth            2 order"), std::string::npos) << list;
    EXPECT_NE(messages.str().find("FFT Length = 4096 smpl"), std::string::npos) << messages.str();
}

TEST_F(Detection, AValueBetweenSettingsTakesTheNearestAndSaysSo) {
    ASSERT_EQ(run({"detect", "--algorithm", "pilot", "--list-params", "--param", "fft-length=3000", "--param",
                   "overlap=50"}),
              0)
        << messages.str();
    // 3000 lies nearer to 2048 than to 4096; the overlap slider moves in
    // steps of 0.075 %.
    EXPECT_NE(messages.str().find("FFT Length = 2048 smpl (the nearest setting to 3000)"), std::string::npos)
        << messages.str();
    EXPECT_NE(messages.str().find("Overlap = 50.025 % (the nearest setting to 50)"), std::string::npos)
        << messages.str();
}

TEST_F(Detection, ParametersReachTheTrackingRun) {
    PilotRecording recording;
    recording.frames = 4 * 48000;
    const std::string input = dir.file("flutter.wav");
    // 0.2 % flutter at 3 Hz around a mean of 1.002.
    hostsim_test::writePilotRecording(input, recording, [](long long n) {
        return 1.0 + 0.002 * (1.0 - std::cos(kTwoPi * 3.0 * static_cast<double>(n) / 48000.0));
    });
    ASSERT_EQ(run({"detect", input, "--algorithm", "pilot", "--pvc", dir.file("default.pvc"), "--quiet"}), 0);
    ASSERT_EQ(run({"detect", input, "--algorithm", "pilot", "--pvc", dir.file("long.pvc"), "--quiet", "--param",
                   "fft-length=8192", "--param", "time-smooth=16"}),
              0)
        << messages.str();
    // The default settings follow the flutter; 16 frames of 8192 (about
    // 0.8 s) average it away.
    auto swing = [](const std::vector<CurvePoint>& curve) {
        double low = INFINITY;
        double high = -INFINITY;
        for (long long n = 48000; n < 3 * 48000; n += 256) {
            low = std::min(low, hostsim_test::curveAt(curve, n));
            high = std::max(high, hostsim_test::curveAt(curve, n));
        }
        return high - low;
    };
    const double followed = swing(hostsim_test::readCurve(dir.file("default.pvc")));
    const double averaged = swing(hostsim_test::readCurve(dir.file("long.pvc")));
    EXPECT_GT(followed, 0.003);
    EXPECT_LT(averaged, 0.3 * followed);
}

TEST_F(Detection, UnknownParameterListsTheKnownOnes) {
    EXPECT_EQ(run({"detect", "--algorithm", "pilot", "--list-params", "--param", "window=3"}), 2);
    const std::string text = messages.str();
    EXPECT_NE(text.find("no parameter 'window'"), std::string::npos) << text;
    for (const char* name : {"fft-length", "overlap", "preemphasis", "time-smooth", "freq-smooth", "bottom-margin"})
        EXPECT_NE(text.find(name), std::string::npos) << name;
    EXPECT_TRUE(output.str().empty()) << "nothing is listed after a bad name";
}

TEST_F(Detection, ListingWithoutAFileShowsEveryParameterWithItsUnit) {
    ASSERT_EQ(run({"detect", "--algorithm", "pilot", "--list-params"}), 0) << messages.str();
    const std::string list = output.str();
    for (const char* line : {"fft-length      FFT Length", "overlap         Overlap", "bottom-margin   Bottom margin"})
        EXPECT_NE(list.find(line), std::string::npos) << line << "\n" << list;
    for (const char* label : {" smpl\n", " %\n", " ratio\n", " order\n"})
        EXPECT_NE(list.find(label), std::string::npos) << label;
}
