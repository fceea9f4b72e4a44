// The fast kernel and block mechanism against the direct evaluation of the
// interpolation formula, tap by tap.

#include "ResamplerRuns.h"
#include "tools/reference/ReferenceResampler.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace resampler_test;
using wowfix::VarispeedResampler;
using wowfix::reference::ReferenceResampler;

namespace {

constexpr double tolerance = 1e-6;

class AgainstReference : public ::testing::TestWithParam<std::tuple<int, unsigned>> {};

TEST_P(AgainstReference, MonoWobblingCurveMatches)
{
    const auto [blockSize, seed] = GetParam();
    const int frames = 20000 + static_cast<int>(seed) * 37;
    const auto input = testSignal(frames, seed);
    const auto ratios = wobblingCurve(frames, seed + 100, 0.01 * seed);

    const BlockRun fast = runBlocks<VarispeedResampler>(8, input, ratios, blockSize);
    const BlockRun direct = runBlocks<ReferenceResampler>(8, input, ratios, blockSize);
    ASSERT_TRUE(fast.ok);
    EXPECT_EQ(fast.blockFrames, direct.blockFrames);
    EXPECT_LE(maxAbsDiff(fast.output, direct.output), tolerance);
}

TEST_P(AgainstReference, StereoPairMatchesEachChannel)
{
    const auto [blockSize, seed] = GetParam();
    const int frames = 15000 + static_cast<int>(seed) * 101;
    const auto left = testSignal(frames, seed);
    const auto right = testSignal(frames, seed + 7);
    const auto ratios = wobblingCurve(frames, seed + 200, 0.02 * seed);

    const auto pair = runChannels<VarispeedResampler>(8, {left, right}, ratios, blockSize);
    ASSERT_TRUE(pair[0].ok);
    EXPECT_LE(maxAbsDiff(pair[0].output, runBlocks<ReferenceResampler>(8, left, ratios, blockSize).output), tolerance);
    EXPECT_LE(maxAbsDiff(pair[1].output, runBlocks<ReferenceResampler>(8, right, ratios, blockSize).output), tolerance);
}

INSTANTIATE_TEST_SUITE_P(BlockSizes, AgainstReference,
                         ::testing::Combine(::testing::Values(1, 2, 7, 64, 1000, 8192), ::testing::Values(1u, 3u, 5u)));

// Steps that are not exact binary fractions put many read positions a rounding
// error below an input frame (d close to 1), where the taps beside the centre
// weigh almost 1 and the sinc's sine is tiny.
TEST(AgainstReferenceSteps, PositionsJustBelowInputFramesMatch)
{
    const int frames = 30000;
    const auto input = testSignal(frames, 11);
    for (float ratio : {1.25f, 0.8f, 3.0f, 1.0f / 3.0f, 1.1f, 0.9f, 10.0f}) {
        const auto ratios = constantCurve(frames, ratio);
        const BlockRun fast = runBlocks<VarispeedResampler>(8, input, ratios, 4096);
        const BlockRun direct = runBlocks<ReferenceResampler>(8, input, ratios, 4096);
        EXPECT_EQ(fast.blockFrames, direct.blockFrames) << "ratio " << ratio;
        EXPECT_LE(maxAbsDiff(fast.output, direct.output), tolerance) << "ratio " << ratio;
    }
}

// Other kernel widths go through the general path of the fast kernel.
TEST(AgainstReferenceWidths, OtherHalfWidthsMatch)
{
    const int frames = 9000;
    const auto input = testSignal(frames, 2);
    const auto ratios = wobblingCurve(frames, 3, 0.05);
    for (int H : {1, 2, 4, 16}) {
        for (int blockSize : {1, 100}) {
            const BlockRun fast = runBlocks<VarispeedResampler>(H, input, ratios, blockSize);
            const BlockRun direct = runBlocks<ReferenceResampler>(H, input, ratios, blockSize);
            ASSERT_TRUE(fast.ok) << "H " << H;
            EXPECT_EQ(fast.blockFrames, direct.blockFrames) << "H " << H << " block " << blockSize;
            EXPECT_LE(maxAbsDiff(fast.output, direct.output), tolerance) << "H " << H << " block " << blockSize;
        }
    }
}

} // namespace
