#include "spectral/HartleyTransform.h"
#include "spectral/HartleyStages.h"

#include "ReferenceHartley.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

namespace wowfix {
namespace {

const double kPi = 4.0 * std::atan(1.0);

std::vector<int> supportedLengths() {
    std::vector<int> lengths;
    for (int n = HartleyTransform::kMinLength; n <= HartleyTransform::kMaxLength; n *= 2) lengths.push_back(n);
    return lengths;
}

std::vector<float> randomSignal(int n, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
    std::vector<float> x(static_cast<size_t>(n));
    for (float& v : x) v = dist(rng);
    return x;
}

// Forward DFT in double precision, X[k] = sum x[j] e^(-2 pi i jk/n).
std::vector<std::complex<double>> naiveDft(const std::vector<float>& re, const std::vector<float>& im) {
    const size_t n = re.size();
    std::vector<std::complex<double>> out(n);
    for (size_t k = 0; k < n; ++k) {
        std::complex<double> sum = 0.0;
        for (size_t j = 0; j < n; ++j) {
            const double angle = -2.0 * kPi * static_cast<double>((j * k) % n) / static_cast<double>(n);
            sum += std::complex<double>(re[j], im[j]) * std::polar(1.0, angle);
        }
        out[k] = sum;
    }
    return out;
}

// Tolerance of a length-n single-precision transform of inputs of size about 1.
double tolerance(int n) { return 2e-6 * std::sqrt(static_cast<double>(n)) * std::log2(static_cast<double>(n)) + 1e-6; }

class EveryLength : public ::testing::TestWithParam<int> {};

TEST_P(EveryLength, MatchesDirectTranscriptionBitForBit) {
    const int n = GetParam();
    HartleyTransform t;
    std::vector<float> x = randomSignal(n, 1u + static_cast<unsigned>(n));
    std::vector<float> expected = x;
    ASSERT_TRUE(t.fht(x.data(), n));
    testing::referenceFht(expected.data(), n);
    EXPECT_EQ(0, std::memcmp(x.data(), expected.data(), x.size() * sizeof(float)));
}

// realFft is the Hartley transform followed by the split into real and
// imaginary parts; its result must be the bits of doing exactly that.
TEST_P(EveryLength, RealSpectrumIsTheSplitHartleySpectrumBitForBit) {
    const int n = GetParam();
    HartleyTransform t;
    std::vector<float> x = randomSignal(n, 2u + static_cast<unsigned>(n));
    std::vector<float> expected = x;
    ASSERT_TRUE(t.realFft(n, x.data()));
    testing::referenceFht(expected.data(), n);
    for (int i = 1, j = n - 1; i < n / 2; ++i, --j) {
        const float a = expected[i];
        const float b = expected[j];
        expected[j] = (a - b) * 0.5f;
        expected[i] = (a + b) * 0.5f;
    }
    EXPECT_EQ(0, std::memcmp(x.data(), expected.data(), x.size() * sizeof(float)));
}

// Both orders of carrying out the stages, whichever the transform picks.
TEST_P(EveryLength, InPlaceAndScratchOrdersGiveTheSameBits) {
    const int n = GetParam();
    std::vector<float> expected = randomSignal(n, 9u + static_cast<unsigned>(n));
    std::vector<float> inPlace = expected;
    testing::referenceFht(expected.data(), n);
    ASSERT_TRUE(hartley::transformInPlace(inPlace.data(), n));
    EXPECT_EQ(0, std::memcmp(inPlace.data(), expected.data(), expected.size() * sizeof(float)));
    if (n < 16) return;
    std::vector<float> viaScratch = randomSignal(n, 9u + static_cast<unsigned>(n));
    std::vector<float> scratch(static_cast<size_t>(n), 0.0f);
    ASSERT_TRUE(hartley::transformThroughScratch(viaScratch.data(), n, scratch.data(), hartley::Output::hartley));
    EXPECT_EQ(0, std::memcmp(viaScratch.data(), expected.data(), expected.size() * sizeof(float)));
}

TEST_P(EveryLength, ImpulseGivesAllOnes) {
    const int n = GetParam();
    HartleyTransform t;
    std::vector<float> x(static_cast<size_t>(n), 0.0f);
    x[0] = 1.0f;
    ASSERT_TRUE(t.fht(x.data(), n));
    for (int k = 0; k < n; ++k) ASSERT_NEAR(x[k], 1.0f, 1e-6f) << "k=" << k;
}

TEST_P(EveryLength, TransformTwiceMultipliesByLength) {
    const int n = GetParam();
    HartleyTransform t;
    const std::vector<float> input = randomSignal(n, 7u);
    std::vector<float> x = input;
    ASSERT_TRUE(t.fht(x.data(), n));
    ASSERT_TRUE(t.fht(x.data(), n));
    for (int j = 0; j < n; ++j) ASSERT_NEAR(x[j] / n, input[j], tolerance(n)) << "j=" << j;
}

TEST_P(EveryLength, RealRoundTripMultipliesByLength) {
    const int n = GetParam();
    HartleyTransform t;
    const std::vector<float> input = randomSignal(n, 11u);
    std::vector<float> x = input;
    ASSERT_TRUE(t.realFft(n, x.data()));
    ASSERT_TRUE(t.realIfft(n, x.data()));
    for (int j = 0; j < n; ++j) ASSERT_NEAR(x[j] / n, input[j], tolerance(n)) << "j=" << j;
}

TEST_P(EveryLength, ComplexRoundTripMultipliesByLength) {
    const int n = GetParam();
    HartleyTransform t;
    const std::vector<float> re0 = randomSignal(n, 3u), im0 = randomSignal(n, 4u);
    std::vector<float> re = re0, im = im0;
    ASSERT_TRUE(t.complexFft(n, re.data(), im.data()));
    ASSERT_TRUE(t.complexIfft(n, re.data(), im.data()));
    for (int j = 0; j < n; ++j) {
        ASSERT_NEAR(re[j] / n, re0[j], tolerance(n)) << "j=" << j;
        ASSERT_NEAR(im[j] / n, im0[j], tolerance(n)) << "j=" << j;
    }
}

TEST_P(EveryLength, ParsevalHoldsForRealSpectrum) {
    const int n = GetParam();
    HartleyTransform t;
    std::vector<float> x = randomSignal(n, 5u);
    double energy = 0.0;
    for (float v : x) energy += static_cast<double>(v) * v;
    ASSERT_TRUE(t.realFft(n, x.data()));
    // Bins 1 ... n/2-1 appear twice in the full spectrum (as k and n-k).
    double spectral = static_cast<double>(x[0]) * x[0] + static_cast<double>(x[n / 2]) * x[n / 2];
    for (int i = 1; i < n / 2; ++i) spectral += 2.0 * (static_cast<double>(x[i]) * x[i] + static_cast<double>(x[n - i]) * x[n - i]);
    // The running twiddle rotation drifts off the unit circle on the longest
    // stages (about 1e-4 in energy from 2^15 points on).
    EXPECT_NEAR(spectral / (n * energy), 1.0, n <= 8192 ? 3e-5 : 3e-4);
}

TEST_P(EveryLength, CosineAtABinLandsInThatBinOnly) {
    const int n = GetParam();
    const int bin = n >= 16 ? 5 : 1;
    HartleyTransform t;
    std::vector<float> x(static_cast<size_t>(n));
    for (int j = 0; j < n; ++j) x[j] = static_cast<float>(std::cos(2.0 * kPi * bin * j / n));
    ASSERT_TRUE(t.realFft(n, x.data()));
    const double tol = n * 1e-6 + 1e-5;
    EXPECT_NEAR(x[bin], n / 2.0, tol);
    EXPECT_NEAR(x[n - bin], 0.0, tol);
    for (int i = 0; i <= n / 2; ++i) {
        if (i == bin) continue;
        ASSERT_NEAR(x[i], 0.0, tol) << "re bin " << i;
        if (i > 0 && i < n / 2) {
            ASSERT_NEAR(x[n - i], 0.0, tol) << "im bin " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(HartleyTransform, EveryLength, ::testing::ValuesIn(supportedLengths()));

// Against a double-precision DFT, for lengths where the O(n^2) sum is cheap.
class AgainstDft : public ::testing::TestWithParam<int> {};

TEST_P(AgainstDft, RealLayoutHoldsRealAndNegatedImaginaryParts) {
    const int n = GetParam();
    HartleyTransform t;
    std::vector<float> x = randomSignal(n, 21u);
    const auto X = naiveDft(x, std::vector<float>(static_cast<size_t>(n), 0.0f));
    ASSERT_TRUE(t.realFft(n, x.data()));
    const double tol = tolerance(n) * std::sqrt(static_cast<double>(n));
    EXPECT_NEAR(x[0], X[0].real(), tol);
    EXPECT_NEAR(x[n / 2], X[n / 2].real(), tol);
    for (int i = 1; i < n / 2; ++i) {
        ASSERT_NEAR(x[i], X[i].real(), tol) << "bin " << i;
        ASSERT_NEAR(x[n - i], -X[i].imag(), tol) << "bin " << i;
    }
}

TEST_P(AgainstDft, ComplexForwardIsTheNegativeExponentDft) {
    const int n = GetParam();
    HartleyTransform t;
    std::vector<float> re = randomSignal(n, 31u), im = randomSignal(n, 32u);
    const auto X = naiveDft(re, im);
    ASSERT_TRUE(t.complexFft(n, re.data(), im.data()));
    const double tol = tolerance(n) * std::sqrt(static_cast<double>(n));
    for (int k = 0; k < n; ++k) {
        ASSERT_NEAR(re[k], X[k].real(), tol) << "bin " << k;
        ASSERT_NEAR(im[k], X[k].imag(), tol) << "bin " << k;
    }
}

TEST_P(AgainstDft, ComplexInverseIsThePositiveExponentDft) {
    const int n = GetParam();
    HartleyTransform t;
    std::vector<float> re = randomSignal(n, 41u), im = randomSignal(n, 42u);
    // The inverse DFT of X equals the conjugate of the forward DFT of conj(X).
    std::vector<float> negIm(im.size());
    for (size_t j = 0; j < im.size(); ++j) negIm[j] = -im[j];
    const auto Y = naiveDft(re, negIm);
    ASSERT_TRUE(t.complexIfft(n, re.data(), im.data()));
    const double tol = tolerance(n) * std::sqrt(static_cast<double>(n));
    for (int k = 0; k < n; ++k) {
        ASSERT_NEAR(re[k], Y[k].real(), tol) << "sample " << k;
        ASSERT_NEAR(im[k], -Y[k].imag(), tol) << "sample " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(HartleyTransform, AgainstDft, ::testing::Values(4, 8, 16, 32, 64, 128, 256, 512, 1024));

// One instance shared by threads that transform at the same time, each with
// lengths that change from call to call.
TEST(HartleyTransformThreads, ConcurrentCallsOnOneInstanceGiveTheSingleThreadedBits) {
    const HartleyTransform t;
    const std::vector<int> lengths = {64, 8192, 256, 2048, 16, 4096, 128};
    auto work = [&](unsigned seed, int* failures) {
        for (int round = 0; round < 20; ++round) {
            for (int n : lengths) {
                std::vector<float> x = randomSignal(n, seed + static_cast<unsigned>(n + round));
                std::vector<float> expected = x;
                testing::referenceFht(expected.data(), n);
                if (!t.fht(x.data(), n) || std::memcmp(x.data(), expected.data(), x.size() * sizeof(float)) != 0)
                    ++*failures;
            }
        }
    };
    int failuresA = 0, failuresB = 0;
    std::thread a(work, 100u, &failuresA);
    std::thread b(work, 200u, &failuresB);
    a.join();
    b.join();
    EXPECT_EQ(0, failuresA);
    EXPECT_EQ(0, failuresB);
}

TEST(HartleyTransformLengths, RefusesUnsupportedLengthsWithoutTouchingTheData) {
    HartleyTransform t;
    for (int n : {-16, 0, 1, 2, 3, 6, 12, 24, 1000, 1 << 18}) {
        EXPECT_FALSE(HartleyTransform::isSupportedLength(n)) << n;
        std::vector<float> x(64, 0.25f), y(64, -0.5f);
        EXPECT_FALSE(t.fht(x.data(), n)) << n;
        EXPECT_FALSE(t.realFft(n, x.data())) << n;
        EXPECT_FALSE(t.realIfft(n, x.data())) << n;
        EXPECT_FALSE(t.complexFft(n, x.data(), y.data())) << n;
        EXPECT_FALSE(t.complexIfft(n, x.data(), y.data())) << n;
        for (float v : x) ASSERT_EQ(v, 0.25f);
        for (float v : y) ASSERT_EQ(v, -0.5f);
    }
}

TEST(HartleyTransformLengths, RefusesNullArrays) {
    HartleyTransform t;
    std::vector<float> x(64, 0.0f);
    EXPECT_FALSE(t.fht(nullptr, 64));
    EXPECT_FALSE(t.realFft(64, nullptr));
    EXPECT_FALSE(t.complexFft(64, x.data(), nullptr));
    EXPECT_FALSE(t.complexIfft(64, nullptr, x.data()));
}

}  // namespace
}  // namespace wowfix
