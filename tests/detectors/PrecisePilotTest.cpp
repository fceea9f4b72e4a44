// The precise pilot tracker on synthetic pilots with known speed: steady
// tones anywhere between transform bins, steps, wow and flutter up to 40 Hz,
// dropouts, noise, and its parameter interface.

#include "detectors/PrecisePilotTracker.h"
#include "tests/detectors/TrackerSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

using namespace tracker_test;
using wowfix::PrecisePilotTracker;

constexpr double kFs = 44100.0;

// Runs the tracker over the whole signal in blocks of 1000 samples.
bool runTracker(PrecisePilotTracker& tracker, const std::vector<float>& x)
{
    if (!tracker.startRun())
        return false;
    tracker.offerSearchSamples(x.data(), static_cast<int>(x.size()));
    for (size_t i = 0; i < x.size(); i += 1000)
        if (!tracker.process(x.data() + i, static_cast<int>(std::min<size_t>(1000, x.size() - i))))
            return false;
    return tracker.finishRun();
}

// Largest and RMS difference between the tracker's ratio and the true one over
// samples from..to (every 64th). The true one is taken relative to the
// tracker's reference, the median frequency of the run unless one was given
// (`f0` is the pilot's frequency at speed 1.0).
struct Error {
    double largest = 0.0;
    double rms = 0.0;
};

Error compare(const PrecisePilotTracker& tracker, const RatioCurve& truth, long from, long to,
              double f0 = 19000.0)
{
    const double reference = tracker.referenceFrequency() / f0;
    Error e;
    double sum = 0.0;
    long n = 0;
    for (long i = from; i < to; i += 64) {
        const double d = tracker.ratioAt(i + 0.5) - truth(i) / reference;
        e.largest = std::max(e.largest, std::fabs(d));
        sum += d * d;
        ++n;
    }
    e.rms = std::sqrt(sum / std::max(n, 1L));
    return e;
}

TEST(PrecisePilotTracker, SteadyToneReadsOneWhereverItLiesBetweenBins)
{
    // Tenths of a bin of an 8192-point transform, and of a 1024-point one.
    for (int k = 0; k < 10; ++k) {
        const double f0 = 19000.0 + k * (kFs / 8192.0) / 10.0 + (k % 3) * (kFs / 1024.0) / 7.0;
        const auto x = pilotTone(kFs, f0, 88200, steady(), 0.1f, 0.0f);
        PrecisePilotTracker tracker(kFs);
        ASSERT_TRUE(runTracker(tracker, x)) << tracker.lastMessage();
        const Error e = compare(tracker, steady(), 0, 88200, tracker.referenceFrequency());
        EXPECT_LT(e.largest, 1e-5) << "at " << f0 << " Hz";  // 0.001 %
        EXPECT_NEAR(tracker.referenceFrequency(), f0, 1e-5 * f0);
        EXPECT_EQ(tracker.bridgedStretches(), 0);
    }
}

TEST(PrecisePilotTracker, GivenPilotFrequencyIsTheReference)
{
    PrecisePilotTracker tracker(kFs);
    tracker.setParameter(0, 19000.0f / 50000.0f);
    ASSERT_EQ(tracker.getParameterDisplayValue(0), 19000.0f);
    // The tape runs 0.3 % fast all along: only a nominal frequency can tell.
    const auto x = pilotTone(kFs, 19000.0, 88200, [](long) { return 1.003; }, 0.1f, 0.0f);
    ASSERT_TRUE(runTracker(tracker, x)) << tracker.lastMessage();
    EXPECT_DOUBLE_EQ(tracker.referenceFrequency(), 19000.0);
    EXPECT_LT(compare(tracker, [](long) { return 1.003; }, 0, 88200).largest, 1e-5);
}

TEST(PrecisePilotTracker, StepIsFollowedWithinMilliseconds)
{
    const RatioCurve truth = stepAt(60000, 1.002);
    const auto x = pilotTone(kFs, 19000.0, 100000, truth, 0.1f, 0.0f);
    PrecisePilotTracker tracker(kFs);
    ASSERT_TRUE(runTracker(tracker, x)) << tracker.lastMessage();
    // The median frequency is the one before the step (60 % of the run).
    // Beyond the curve filter's reach (+-80 values of 32 samples) exact.
    EXPECT_LT(compare(tracker, truth, 0, 57400).largest, 1e-5);
    EXPECT_LT(compare(tracker, truth, 62600, 100000).largest, 1e-5);
    // Half way at the step itself: a zero-phase filter does not lag.
    EXPECT_NEAR(tracker.ratioAt(60000.0), 1.001, 1e-4);
}

TEST(PrecisePilotTracker, WowAndFlutterUpToFortyHertz)
{
    struct Case {
        double depth, rate, tolerance;  // RMS tolerance of the ratio
    };
    const Case cases[] = {{0.003, 0.5, 1e-5}, {0.002, 4.0, 1e-5}, {0.001, 10.0, 1e-5},
                          {0.001, 25.0, 2e-5}, {0.0005, 40.0, 3e-5}};
    for (const Case& c : cases) {
        const RatioCurve truth = sinusoidalWow(c.depth, c.rate, kFs);
        const long frames = 4 * 44100;
        const auto x = pilotTone(kFs, 19000.0, frames, truth);
        PrecisePilotTracker tracker(kFs);
        ASSERT_TRUE(runTracker(tracker, x)) << tracker.lastMessage();
        const Error e = compare(tracker, truth, 4410, frames - 4410);
        EXPECT_LT(e.rms, c.tolerance) << c.rate << " Hz";
    }
}

TEST(PrecisePilotTracker, DropoutIsBridgedAndFlagged)
{
    const RatioCurve truth = sinusoidalWow(0.002, 0.5, kFs);
    auto x = pilotTone(kFs, 19000.0, 3 * 44100, truth, 0.1f, 0.0f);
    for (long i = 44100; i < 48510; ++i)  // 100 ms without pilot
        x[static_cast<size_t>(i)] *= 0.001f;
    PrecisePilotTracker tracker(kFs);
    ASSERT_TRUE(runTracker(tracker, x)) << tracker.lastMessage();
    EXPECT_EQ(tracker.bridgedStretches(), 1);
    EXPECT_TRUE(tracker.bridgedAt(46000.0));
    EXPECT_FALSE(tracker.bridgedAt(40000.0));
    EXPECT_FALSE(tracker.bridgedAt(53000.0));
    // The bridge is a straight line across 0.1 s of a slow wow.
    EXPECT_LT(compare(tracker, truth, 44100, 48510).largest, 1e-4);
    // (The first and last few milliseconds hold the end values.)
    EXPECT_LT(compare(tracker, truth, 2000, 40000).largest, 1e-5);
    EXPECT_LT(compare(tracker, truth, 53000, 3 * 44100 - 2000).largest, 1e-5);
}

TEST(PrecisePilotTracker, NoiseAtStatedSignalToNoiseRatios)
{
    // Pilot amplitude 0.1; uniform noise of amplitude a has RMS a / sqrt 3.
    struct Case {
        double snrDb, tolerance;  // SNR over the whole band; RMS tolerance
    };
    const Case cases[] = {{30.0, 3e-5}, {10.0, 3e-4}, {0.0, 8e-4}};
    const RatioCurve truth = sinusoidalWow(0.002, 2.0, kFs);
    for (const Case& c : cases) {
        const double noiseRms = 0.1 / std::sqrt(2.0) / std::pow(10.0, c.snrDb / 20.0);
        const auto x = pilotTone(kFs, 19000.0, 3 * 44100, truth, 0.1f, static_cast<float>(noiseRms * std::sqrt(3.0)));
        PrecisePilotTracker tracker(kFs);
        ASSERT_TRUE(runTracker(tracker, x)) << tracker.lastMessage();
        EXPECT_LT(compare(tracker, truth, 4410, 3 * 44100 - 4410).rms, c.tolerance) << c.snrDb << " dB";
    }
}

TEST(PrecisePilotTracker, RefusesWhatCannotWork)
{
    PrecisePilotTracker low(24000.0);
    EXPECT_FALSE(low.startRun());
    EXPECT_STRNE(low.lastMessage(), "");

    // Noise only: no pilot to find; the curve stays flat.
    Noise noise;
    std::vector<float> x(44100);
    for (float& v : x) v = noise.next(0.1f);
    PrecisePilotTracker tracker(kFs);
    EXPECT_FALSE(runTracker(tracker, x));
    EXPECT_NE(std::strstr(tracker.lastMessage(), "No pilot tone"), nullptr);
    EXPECT_EQ(tracker.ratioAt(1000.0), 1.0);

    // A pilot frequency above fs / 2.
    tracker.setParameter(0, 1.0f);
    EXPECT_FALSE(tracker.startRun());

    // Too short a run.
    tracker.setParameter(0, 0.38f);
    ASSERT_TRUE(tracker.startRun());
    ASSERT_TRUE(tracker.process(x.data(), 100));
    EXPECT_FALSE(tracker.finishRun());
}

TEST(PrecisePilotTracker, ParameterInterface)
{
    PrecisePilotTracker tracker(kFs);
    ASSERT_EQ(tracker.getNumParams(), 4);
    const char* names[] = {"Pilot frequency", "Bandwidth", "Curve bandwidth", "Dropout level"};
    const float defaults[] = {0.0f, 450.0f, 70.0f, -20.0f};
    for (int i = 0; i < 4; ++i) {
        EXPECT_STREQ(tracker.parameterName(i), names[i]);
        EXPECT_STREQ(tracker.parameterLabel(i), i == 3 ? "dB" : "Hz");
        EXPECT_EQ(tracker.getParameterDisplayValue(i), defaults[i]) << names[i];
    }
    // Ends of the ranges, clamping, and a value that is not a number.
    tracker.setParameter(1, 0.0f);
    EXPECT_EQ(tracker.getParameterDisplayValue(1), 100.0f);
    tracker.setParameter(1, 7.0f);
    EXPECT_EQ(tracker.getParameter(1), 1.0f);
    EXPECT_EQ(tracker.getParameterDisplayValue(1), 1000.0f);
    tracker.setParameter(1, std::nanf(""));
    EXPECT_EQ(tracker.getParameter(1), 1.0f);
    tracker.setParameter(0, 0.3001f);
    EXPECT_EQ(tracker.getParameterDisplayValue(0), 15000.0f);
    // Unknown indexes.
    EXPECT_TRUE(tracker.setParameter(4, 0.5f));
    EXPECT_EQ(tracker.getParameter(4), 0.0f);
    EXPECT_EQ(tracker.getParameterDisplayValue(-1), 0.0f);
    EXPECT_EQ(tracker.findParameter("curve-bandwidth"), 2);
}

}  // namespace
