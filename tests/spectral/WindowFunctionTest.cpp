#include "spectral/WindowFunction.h"

#include <gtest/gtest.h>

#include <vector>

namespace wowfix {
namespace {

std::vector<float> table(int type, int n) {
    std::vector<float> w(static_cast<size_t>(n), -1.0f);
    EXPECT_TRUE(fillWindow(type, w.data(), n));
    return w;
}

double sum(const std::vector<float>& w) {
    double s = 0.0;
    for (float v : w) s += v;
    return s;
}

TEST(WindowFunction, FivePointTablesHaveTheirClosedFormValues) {
    // cos(2 pi i / 4) runs 1, 0, -1, 0, 1.
    const std::vector<float> hann = table(kHannWindow, 5);
    const float expectedHann[5] = {0.0f, 0.1f, 0.2f, 0.1f, 0.0f};
    const std::vector<float> blackman = table(kBlackmanWindow, 5);
    const float expectedBlackman[5] = {0.0f, 0.068f, 0.2f, 0.068f, 0.0f};
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(hann[i], expectedHann[i], 1e-7f) << i;
        EXPECT_NEAR(blackman[i], expectedBlackman[i], 1e-7f) << i;
    }
}

TEST(WindowFunction, BoxcarIsTwoOverLengthAndSumsToTwo) {
    for (int n : {16, 64, 1024, 4096}) {
        const std::vector<float> w = table(kBoxcarWindow, n);
        for (float v : w) ASSERT_FLOAT_EQ(v, 2.0f / n);
        EXPECT_NEAR(sum(w), 2.0, 1e-5);
    }
}

TEST(WindowFunction, HannOf1024StartsAndEndsAtZeroAndPeaksInTheMiddle) {
    const std::vector<float> w = table(kHannWindow, 1024);
    EXPECT_EQ(w.front(), 0.0f);
    EXPECT_NEAR(w.back(), 0.0f, 1e-12f);
    EXPECT_NEAR(w[511], 1.0f / 1024, 1e-8f);
    EXPECT_NEAR(w[512], 1.0f / 1024, 1e-8f);
    for (float v : w) ASSERT_LE(v, 1.0f / 1024);
}

TEST(WindowFunction, BlackmanOf1024EndsAtZeroToRounding) {
    const std::vector<float> w = table(kBlackmanWindow, 1024);
    EXPECT_NEAR(w.front(), 0.0f, 1e-9f);
    EXPECT_NEAR(w.back(), 0.0f, 1e-9f);
    for (float v : w) ASSERT_GE(v, -1e-9f);
}

TEST(WindowFunction, SumsFollowTheCosineSeries) {
    // Over i = 0 ... n-1 the cosines of period n-1 sum to 1 (the last term).
    for (int n : {64, 1024, 8192}) {
        EXPECT_NEAR(sum(table(kHannWindow, n)), (0.5 * n - 0.5) / n, 1e-5) << n;
        EXPECT_NEAR(sum(table(kBlackmanWindow, n)), (0.42 * n - 0.5 + 0.08) / n, 1e-5) << n;
    }
}

TEST(WindowFunction, TablesAreSymmetric) {
    for (int type : {kHannWindow, kBlackmanWindow}) {
        for (int n : {16, 255, 1024, 4096}) {
            const std::vector<float> w = table(type, n);
            for (int i = 0; i < n / 2; ++i)
                ASSERT_NEAR(w[i], w[n - 1 - i], 1e-7f / n) << "type " << type << " n " << n << " i " << i;
        }
    }
}

TEST(WindowFunction, UndefinedTypesBecomeHannAndHammingIsItsOwn) {
    EXPECT_EQ(effectiveWindowType(4), kHannWindow);
    EXPECT_EQ(effectiveWindowType(-1), kHannWindow);
    EXPECT_EQ(effectiveWindowType(kBoxcarWindow), kBoxcarWindow);
    EXPECT_EQ(effectiveWindowType(kBlackmanWindow), kBlackmanWindow);
    EXPECT_EQ(effectiveWindowType(kHammingWindow), kHammingWindow);
    // Hamming keeps 0.08 at its ends and reaches 1 in the middle, unlike Hann.
    const std::vector<float> hamming = table(kHammingWindow, 257);
    EXPECT_NEAR(hamming.front() * 257, 0.08f, 1e-6f);
    EXPECT_NEAR(hamming[128] * 257, 1.0f, 1e-6f);
    EXPECT_NE(hamming, table(kHannWindow, 257));
}

TEST(WindowFunction, RefusesDegenerateTables) {
    float w[2] = {7.0f, 7.0f};
    EXPECT_FALSE(fillWindow(kHannWindow, w, 1));
    EXPECT_FALSE(fillWindow(kHannWindow, w, 0));
    EXPECT_FALSE(fillWindow(kHannWindow, nullptr, 16));
    EXPECT_EQ(w[0], 7.0f);
    EXPECT_EQ(windowCoefficient(kHannWindow, 16, 16), 0.0f);
    EXPECT_EQ(windowCoefficient(kHannWindow, -1, 16), 0.0f);
}

}  // namespace
}  // namespace wowfix
