// Speed changes of a known shape must come out of the tracker with that shape,
// shifted by the delay the tracker reports.

#include "TrackerSignals.h"

#include <gtest/gtest.h>

using namespace tracker_test;
using wowfix::ToneTracker;

namespace {

// The first frame of a run, which becomes the reference, is centred on sample
// (N - 1) / 2; in its smoothed spectrum the history holds only zeros besides it.
double referenceRatio(const RatioCurve& ratio, int N)
{
    return 0.5 * (ratio((N - 1) / 2) + ratio(N / 2));
}

struct WowCase {
    double fs;
    double f0;
    double depth;
    double rate;
    double tolerance;  // largest deviation from the delayed curve, as a ratio
};

class SinusoidalWow : public ::testing::TestWithParam<WowCase> {};

// Once the smoothing over frames is filled (T frames after the first), the
// output follows ratio(n - D) / ratio(reference).
TEST_P(SinusoidalWow, IsRecoveredAfterTheDelay)
{
    const WowCase c = GetParam();
    const RatioCurve ratio = sinusoidalWow(c.depth, c.rate, c.fs);
    ToneTracker tracker(static_cast<float>(c.fs));
    const long frames = static_cast<long>(4 * c.fs);
    const std::vector<float> y = track(tracker, pilotTone(c.fs, c.f0, frames, ratio));
    const int D = tracker.getDelay();
    const double reference = referenceRatio(ratio, 1024);
    double worst = 0.0;
    double lowest = 2.0, highest = 0.0;
    for (long n = 1024 + 4 * 256 + D; n < frames; ++n) {
        const double expected = ratio(n - D) / reference;
        worst = std::max(worst, std::fabs(y[n] - expected));
        lowest = std::min<double>(lowest, y[n]);
        highest = std::max<double>(highest, y[n]);
    }
    EXPECT_LE(worst, c.tolerance);
    EXPECT_NEAR(highest - lowest, 2 * c.depth, 2 * c.tolerance);
}

INSTANTIATE_TEST_SUITE_P(Pilots, SinusoidalWow,
                         ::testing::Values(WowCase{44100, 19000, 0.003, 0.5, 3e-4},
                                           WowCase{48000, 19000, 0.003, 0.5, 3e-4},
                                           WowCase{96000, 30000, 0.003, 0.5, 3e-4},
                                           WowCase{44100, 19000, 0.02, 0.5, 3e-4},
                                           WowCase{48000, 19000, 0.002, 4.0, 1e-3}));

// A speed step of +0.5 % at a sample on which a frame is centred: the output
// stays at 1.0 until the step's frames reach it, settles on 1.005, and crosses
// half-way getDelay() samples after the step. (A step that long frames resolve
// into two separate peaks switches from one peak to the other within a frame or
// two, since the band around the prediction favours the old one; the half-way
// point then lies up to one and a half hops later.)
struct StepCase {
    int fftExponent;
    float overlap;
    float timeSmooth;
    double slackInHops;
};

class SpeedStep : public ::testing::TestWithParam<StepCase> {};

TEST_P(SpeedStep, IsReproducedAndDelayedByGetDelay)
{
    const StepCase c = GetParam();
    const double fs = 44100;
    ToneTracker tracker(static_cast<float>(fs));
    tracker.setParameter(0, fftLengthValue(c.fftExponent));
    tracker.setParameter(1, c.overlap);
    tracker.setParameter(3, c.timeSmooth);
    const int N = 1 << c.fftExponent;
    const int hop = static_cast<int>(tracker.getParameterDisplayValue(0)) -
                    static_cast<int>(N * c.overlap * 0.75f + 0.5f);
    const int D = tracker.getDelay();

    // Samples before `step` run at 1.0; the frame centred between step - 1 and step
    // sees both halves equally.
    const long step = 40L * hop + N / 2;
    const long frames = step + D + 6L * N + 20L * hop;
    const std::vector<float> y = track(tracker, pilotTone(fs, 19000, frames, stepAt(step, 1.005)));

    for (long n = 0; n < step + D - N / 2 - hop * (1 + 16); ++n)
        ASSERT_NEAR(y[n], 1.0, 1e-4) << "sample " << n;
    for (long n = step + D + N + 16L * hop; n < frames; ++n)
        ASSERT_NEAR(y[n], 1.005, 2e-4) << "sample " << n;
    long crossing = -1;
    for (long n = 0; n < frames && crossing < 0; ++n) {
        if (y[n] >= 1.0025)
            crossing = n;
    }
    EXPECT_NEAR(crossing - step, D, c.slackInHops * hop + 40) << "delay " << D;
}

INSTANTIATE_TEST_SUITE_P(Settings, SpeedStep,
                         ::testing::Values(StepCase{10, 1.0f, 0.1f, 0.25}, StepCase{9, 1.0f, 0.1f, 0.25},
                                           StepCase{10, 0.0f, 0.0f, 0.25}, StepCase{10, 1.0f, 1.0f, 0.25},
                                           StepCase{11, 1.0f, 0.6f, 0.25}, StepCase{12, 0.5f, 0.1f, 1.5}));

TEST(TrackerDelay, DefaultsGiveTheDocumentedDelay)
{
    ToneTracker tracker(44100.0f);
    EXPECT_EQ(tracker.getDelay(), 1023);
}

// The delay is the phase lag of a sinusoidal speed change: the output
// follows 1 + d sin(w (n - L)), so projecting it on sin(w n) and cos(w n) over
// whole periods gives L without depending on the reference frequency.
TEST(TrackerDelay, SinusoidalWowLagsByTheDelay)
{
    const double fs = 44100;
    const double rate = 2.0;
    const double w = 2.0 * pi * rate / fs;
    for (float timeSmooth : {0.0f, 0.1f, 0.5f}) {
        for (float overlap : {0.0f, 1.0f}) {
            ToneTracker tracker(static_cast<float>(fs));
            tracker.setParameter(1, overlap);
            tracker.setParameter(3, timeSmooth);
            const long period = static_cast<long>(fs / rate);
            const long start = period;
            const long frames = start + 6 * period;
            const std::vector<float> y = track(tracker, pilotTone(fs, 19000, frames, sinusoidalWow(0.005, rate, fs)));
            double mean = 0.0;
            for (long n = start; n < frames; ++n)
                mean += y[n];
            mean /= frames - start;
            double inPhase = 0.0, quadrature = 0.0;
            for (long n = start; n < frames; ++n) {
                inPhase += (y[n] - mean) * std::sin(w * n);
                quadrature += (y[n] - mean) * std::cos(w * n);
            }
            const double lag = std::atan2(-quadrature, inPhase) / w;
            EXPECT_NEAR(lag, tracker.getDelay(), 4) << "T value " << timeSmooth << " overlap " << overlap;
        }
    }
}

}  // namespace
