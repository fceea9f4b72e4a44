// Calls made out of order or with unusable arguments are refused with a defined
// answer and leave the run intact.

#include "ResamplerRuns.h"

#include <gtest/gtest.h>

using namespace resampler_test;
using wowfix::VarispeedResampler;

namespace {

constexpr int H = 8;

TEST(Interface, UninitialisedResamplerRefusesBlocks)
{
    const float one = 1.0f;
    float out[64];
    VarispeedResampler fresh;
    EXPECT_EQ(fresh.prepare(&one, &one, 1, true, true), -1);
    EXPECT_FALSE(fresh.render(out));
    // A failed init leaves the resampler refusing, whatever it was before.
    for (auto [h, length] : {std::pair{0, 100}, {-1, 100}, {VarispeedResampler::maxHalfWidth + 1, 100}, {8, 0},
                             {8, -5}, {8, VarispeedResampler::maxBlockLength + 1}}) {
        VarispeedResampler r;
        ASSERT_TRUE(r.init(8, 100));
        EXPECT_FALSE(r.init(h, length)) << h << " " << length;
        EXPECT_EQ(r.prepare(&one, &one, 1, true, true), -1) << h << " " << length;
    }
}

TEST(Interface, RefusedBlockKeepsTheRun)
{
    const int frames = 6000;
    const auto input = testSignal(frames, 31);
    const auto ratios = wobblingCurve(frames, 31, 0.02);
    const BlockRun clean = runBlocks<VarispeedResampler>(H, input, ratios, 2000);

    VarispeedResampler r;
    ASSERT_TRUE(r.init(H, 2000));
    std::vector<float> output;
    for (int start = 0; start < frames; start += 2000) {
        EXPECT_EQ(r.prepare(ratios.data() + start, input.data() + start, -1, start == 0, false), -1);
        EXPECT_EQ(r.prepare(nullptr, input.data() + start, 2000, start == 0, false), -1);
        EXPECT_EQ(r.prepare(ratios.data() + start, nullptr, 2000, start == 0, false), -1);
        EXPECT_EQ(r.prepare(ratios.data(), input.data(), VarispeedResampler::maxBlockLength + 1, true, true), -1);
        const int n = r.prepare(ratios.data() + start, input.data() + start, 2000, start == 0, start + 2000 == frames);
        ASSERT_GE(n, 0);
        std::vector<float> out(n);
        if (n > 0) {
            EXPECT_FALSE(r.render(nullptr));
        }
        ASSERT_TRUE(r.render(out.data()));
        EXPECT_FALSE(r.render(out.data())) << "a second render of the same block";
        output.insert(output.end(), out.begin(), out.end());
    }
    EXPECT_LE(maxAbsDiff(output, clean.output), 0.0);
}

TEST(Interface, EmptyBlockNeedsNoArrays)
{
    VarispeedResampler r;
    ASSERT_TRUE(r.init(H, 64));
    EXPECT_EQ(r.prepare(nullptr, nullptr, 0, true, false), 0);
    EXPECT_TRUE(r.render(nullptr));
    EXPECT_EQ(r.prepare(nullptr, nullptr, 0, false, true), 0);
    EXPECT_TRUE(r.render(nullptr));
}

TEST(Interface, RenderPairRefusals)
{
    const auto input = testSignal(500, 32);
    const auto ratios = wobblingCurve(500, 32, 0.02);
    std::vector<float> a(1000), b(1000);
    VarispeedResampler left, right;
    ASSERT_TRUE(left.init(H, 500) && right.init(H, 500));
    EXPECT_FALSE(VarispeedResampler::renderPair(left, right, a.data(), b.data())) << "nothing prepared";
    ASSERT_GT(left.prepare(ratios.data(), input.data(), 500, true, true), 0);
    EXPECT_FALSE(VarispeedResampler::renderPair(left, right, a.data(), b.data())) << "right not prepared";
    ASSERT_GT(right.prepare(ratios.data(), input.data(), 500, true, true), 0);
    EXPECT_FALSE(VarispeedResampler::renderPair(left, left, a.data(), b.data())) << "same resampler twice";
    EXPECT_FALSE(VarispeedResampler::renderPair(left, right, a.data(), nullptr)) << "no right output";
    EXPECT_TRUE(VarispeedResampler::renderPair(left, right, a.data(), b.data()));
}

// Channels prepared with different curves cannot share weights; each is then
// rendered on its own positions.
TEST(Interface, RenderPairOfDifferentCurvesRendersEachOnItsOwn)
{
    const int frames = 3000;
    const auto input = testSignal(frames, 33);
    const auto slow = wobblingCurve(frames, 34, 0.01);
    const auto fast = constantCurve(frames, 1.5f);
    VarispeedResampler left, right;
    ASSERT_TRUE(left.init(H, frames) && right.init(H, frames));
    const int nl = left.prepare(slow.data(), input.data(), frames, true, true);
    const int nr = right.prepare(fast.data(), input.data(), frames, true, true);
    std::vector<float> a(nl), b(nr);
    ASSERT_TRUE(VarispeedResampler::renderPair(left, right, a.data(), b.data()));
    EXPECT_LE(maxAbsDiff(a, runBlocks<VarispeedResampler>(H, input, slow, frames).output), 0.0);
    EXPECT_LE(maxAbsDiff(b, runBlocks<VarispeedResampler>(H, input, fast, frames).output), 0.0);
}

} // namespace
