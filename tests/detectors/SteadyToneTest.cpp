// A steady pilot tone must read as nominal speed, 1.0, from the first output on,
// whatever the sample rate, the settings and the way the stream is cut into blocks.

#include "TrackerSignals.h"

#include <gtest/gtest.h>

using namespace tracker_test;
using wowfix::ToneTracker;
using wowfix::TrackerRunState;

namespace {

double worstDeviationFromOne(const std::vector<float>& y)
{
    double worst = 0.0;
    for (float v : y)
        worst = std::max(worst, std::fabs(v - 1.0));
    return worst;
}

struct SteadyCase {
    double fs;
    double f0;
};

class SteadyToneAtRate : public ::testing::TestWithParam<SteadyCase> {};

TEST_P(SteadyToneAtRate, ReadsOneWithinAHundredthOfAPercent)
{
    const auto [fs, f0] = GetParam();
    ToneTracker tracker(static_cast<float>(fs));
    const std::vector<float> y = track(tracker, pilotTone(fs, f0, static_cast<long>(3 * fs), steady()));
    EXPECT_LE(worstDeviationFromOne(y), 1e-4);
    // The reference is the tone itself, to a small part of a bin.
    EXPECT_NEAR(tracker.referenceFrequency(), f0, 0.1 * fs / 1024);
}

INSTANTIATE_TEST_SUITE_P(PilotRates, SteadyToneAtRate,
                         ::testing::Values(SteadyCase{44100, 19000}, SteadyCase{48000, 19000},
                                           SteadyCase{96000, 30000}, SteadyCase{44100, 19037.3},
                                           SteadyCase{48000, 15011.9}));

// Every FFT length and overlap the parameters allow (the sanitizer build runs
// the same loop over the table sizes).
TEST(SteadyTone, EveryFftLengthAndOverlapReadsOne)
{
    const double fs = 44100;
    const std::vector<float> x = pilotTone(fs, 19000, static_cast<long>(1.5 * fs), steady());
    for (int e = 9; e <= 13; ++e) {
        for (float overlap : {0.0f, 0.5f, 1.0f}) {
            ToneTracker tracker(static_cast<float>(fs));
            tracker.setParameter(0, fftLengthValue(e));
            tracker.setParameter(1, overlap);
            EXPECT_LE(worstDeviationFromOne(track(tracker, x)), 1e-4) << "N = " << (1 << e) << " overlap " << overlap;
        }
    }
}

TEST(SteadyTone, OutputDoesNotDependOnTheBlockSize)
{
    const double fs = 48000;
    const std::vector<float> x = pilotTone(fs, 19000, 40000, sinusoidalWow(0.003, 2.0, fs));
    ToneTracker reference(static_cast<float>(fs));
    const std::vector<float> expected = track(reference, x, 1024);
    for (int block : {1, 255, 4096, 40000}) {
        ToneTracker tracker(static_cast<float>(fs));
        EXPECT_EQ(track(tracker, x, block), expected) << "block " << block;
    }
}

TEST(SteadyTone, StereoIsTrackedAsTheMeanOfItsChannels)
{
    const double fs = 44100;
    const std::vector<float> left = pilotTone(fs, 19000, 20000, sinusoidalWow(0.003, 1.0, fs), 0.1f, 0.001f, 1);
    const std::vector<float> right = pilotTone(fs, 19000, 20000, sinusoidalWow(0.003, 1.0, fs), 0.05f, 0.002f, 2);
    std::vector<float> mono(left.size());
    for (size_t i = 0; i < mono.size(); ++i)
        mono[i] = (left[i] + right[i]) * 0.5f;

    ToneTracker monoTracker(static_cast<float>(fs));
    const std::vector<float> expected = track(monoTracker, mono);

    ToneTracker tracker(static_cast<float>(fs));
    TrackerRunState state;
    std::vector<float> outLeft(left.size()), outRight(left.size());
    const float* in[2] = {left.data(), right.data()};
    float* out[2] = {outLeft.data(), outRight.data()};
    ASSERT_TRUE(tracker.process(static_cast<int>(left.size()), 2, in, out, state));
    for (size_t i = 0; i < mono.size(); ++i) {
        ASSERT_NEAR(outLeft[i], expected[i], 1e-6) << i;
        ASSERT_EQ(outLeft[i], outRight[i]) << i;
    }
}

}  // namespace
