// Constant speed curves, where the read positions and the kernel values are
// known in closed form.

#include "ResamplerRuns.h"

#include <gtest/gtest.h>

using namespace resampler_test;
using wowfix::VarispeedResampler;

namespace {

constexpr int H = 8;

// The kernel sinc(u) w(u) of the 17-tap interpolator at distance u from a frame.
double kernel(double u)
{
    const double sinc = (u == 0.0) ? 1.0 : std::sin(u * pi) / (u * pi);
    return sinc * 0.5 * (1.0 - std::cos(2.0 * pi * (u + H) / (2 * H + 1)));
}

TEST(ConstantRatio, UnitCurveKeepsLengthAndScalesByCentreWeight)
{
    const int frames = 10000;
    const auto input = testSignal(frames, 4);
    const double centre = kernel(0.0);
    EXPECT_NEAR(centre, 0.99149, 1e-5);
    for (int blockSize : {1, 64, 8192}) {
        const BlockRun run = runBlocks<VarispeedResampler>(H, input, constantCurve(frames, 1.0f), blockSize);
        ASSERT_EQ(run.output.size(), input.size()) << "block " << blockSize;
        double worst = 0.0;
        for (int n = 0; n < frames; ++n)
            worst = std::max(worst, std::fabs(run.output[n] - centre * input[n]));
        EXPECT_LE(worst, 1e-6) << "block " << blockSize;
    }
}

// Output at read position q for a unit impulse at frame p: the taps of q are the
// frames floor(q) - H .. floor(q) + H.
double impulseResponse(double q, int p)
{
    const double i = std::floor(q);
    return std::fabs(p - i) <= H ? kernel(q - p) : 0.0;
}

// At ratio 2 the read positions are 0, 0.5, 1, ..., N - 0.5 (every position on or
// after an input frame up to the last one), so an impulse comes out as the kernel
// sampled every half frame, every odd output lying half-way (d = 0.5).
TEST(ConstantRatio, DoubleSpeedCurveSamplesHalfwayBetweenFrames)
{
    const int frames = 200;
    const int p = 100;
    std::vector<float> impulse(frames, 0.0f);
    impulse[p] = 1.0f;
    for (int blockSize : {1, 7, 64, 8192}) {
        const BlockRun run = runBlocks<VarispeedResampler>(H, impulse, constantCurve(frames, 2.0f), blockSize);
        ASSERT_EQ(run.output.size(), static_cast<size_t>(2 * frames)) << "block " << blockSize;
        for (int m = 0; m < 2 * frames; ++m)
            ASSERT_NEAR(run.output[m], impulseResponse(m / 2.0, p), 1e-6) << "output " << m << " block " << blockSize;
    }
    // Half-way between frames the window peaks at 1, leaving the sinc's 2 / pi.
    EXPECT_NEAR(kernel(0.5), 2.0 / pi, 1e-12);
}

} // namespace
