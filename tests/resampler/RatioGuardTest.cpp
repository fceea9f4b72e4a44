// Curve values the resampler cannot step by as they are: not numbers, not
// positive, or so large or small that the read head would stall or race.

#include "ResamplerRuns.h"
#include "tools/reference/ReferenceResampler.h"

#include <gtest/gtest.h>

#include <limits>

using namespace resampler_test;
using wowfix::VarispeedResampler;
using wowfix::reference::ReferenceResampler;

namespace {

constexpr int H = 8;
constexpr float nan = std::numeric_limits<float>::quiet_NaN();
constexpr float inf = std::numeric_limits<float>::infinity();

struct BadRatio {
    float value;
    float meaning; // the ratio it must act as
};

// Not a finite positive number: nominal speed. Outside 1/16 .. 16: the bound.
const BadRatio badRatios[] = {
    {nan, 1.0f},      {inf, 1.0f},       {-inf, 1.0f},      {0.0f, 1.0f},     {-0.0f, 1.0f},
    {-1.0f, 1.0f},    {-3.5f, 1.0f},     {1e30f, 16.0f},    {1e8f, 16.0f},    {20.0f, 16.0f},
    {1e-30f, 1.0f / 16}, {1e-40f, 1.0f / 16}, {0.01f, 1.0f / 16},
};

TEST(RatioGuard, BadValuesActAsTheirSafeRatio)
{
    const int frames = 12000;
    const auto input = testSignal(frames, 21);
    for (const BadRatio& bad : badRatios) {
        auto ratios = wobblingCurve(frames, 22, 0.01);
        auto meant = ratios;
        for (int n = 4000; n < 6000; ++n) {
            ratios[n] = bad.value;
            meant[n] = bad.meaning;
        }
        for (int blockSize : {7, 4096}) {
            const BlockRun run = runBlocks<VarispeedResampler>(H, input, ratios, blockSize);
            ASSERT_TRUE(run.ok) << bad.value;
            const BlockRun direct = runBlocks<ReferenceResampler>(H, input, meant, blockSize);
            EXPECT_EQ(run.output.size(), direct.output.size()) << bad.value << " block " << blockSize;
            EXPECT_LE(maxAbsDiff(run.output, direct.output), 1e-6) << bad.value << " block " << blockSize;
        }
    }
}

// The curve answers -1 beyond its end; a selection longer than the curve plays
// on at nominal speed.
TEST(RatioGuard, CurvePastItsEndPlaysAtNominalSpeed)
{
    const int frames = 9000;
    const auto input = testSignal(frames, 23);
    std::vector<float> ratios(frames, 1.0f);
    for (int n = 3000; n < frames; ++n)
        ratios[n] = -1.0f;
    const BlockRun run = runBlocks<VarispeedResampler>(H, input, ratios, 1024);
    const BlockRun nominal = runBlocks<VarispeedResampler>(H, input, constantCurve(frames, 1.0f), 1024);
    EXPECT_EQ(run.output.size(), input.size());
    EXPECT_LE(maxAbsDiff(run.output, nominal.output), 1e-7);
}

TEST(RatioGuard, ExtremeCurvesEndWithBoundedLength)
{
    const int frames = 4000;
    const auto input = testSignal(frames, 24);
    const BlockRun fastest = runBlocks<VarispeedResampler>(H, input, constantCurve(frames, 1e30f), 512);
    EXPECT_EQ(fastest.output.size(), static_cast<size_t>(16 * frames));
    const BlockRun slowest = runBlocks<VarispeedResampler>(H, input, constantCurve(frames, 1e-30f), 512);
    EXPECT_EQ(slowest.output.size(), static_cast<size_t>(frames / 16));
    for (const BlockRun* run : {&fastest, &slowest})
        for (float v : run->output)
            ASSERT_TRUE(std::isfinite(v));
}

} // namespace
