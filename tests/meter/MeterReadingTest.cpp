// What the meter reads: known sinusoidal deviations at rates from 0.5 to
// 20 Hz, steady tones, a constant speed error, the strongest tone, and
// other tones nearby.

#include <gtest/gtest.h>

#include <cmath>

#include "MeterTestSignals.h"
#include "tools/meter/WeightingFilter.h"
#include "tools/meter/WowFlutterMeter.h"

namespace wowfix::meter {
namespace {

using metertest::kRate;
using metertest::modulatedTone;

Measurement measure(const std::vector<float>& x, std::optional<double> toneHz = kDefaultToneHz) {
    Measurement m;
    std::string error;
    MeterSettings settings;
    settings.toneHz = toneHz;
    EXPECT_TRUE(measureSamples(x, kRate, settings, m, error)) << error;
    return m;
}

struct Modulation {
    double rateHz;
    double depth;
    double tableDb;  // the standard's weighting at rateHz
};

class KnownModulation : public ::testing::TestWithParam<Modulation> {};

TEST_P(KnownModulation, ReadsTheDepthWithinFivePercent) {
    const Modulation p = GetParam();
    const Measurement m = measure(modulatedTone(3150.0, p.depth, p.rateHz, 30.0));
    const WowFlutterFigures& f = m.figures;
    EXPECT_NEAR(f.unweightedPeak, p.depth, 0.05 * p.depth);
    EXPECT_NEAR(f.unweightedRms, p.depth / std::sqrt(2.0), 0.05 * p.depth / std::sqrt(2.0));
    // A sinusoid exceeds 0.997 of its peak 5 % of the time.
    const double weighted = 0.99692 * p.depth * std::pow(10.0, p.tableDb / 20.0);
    EXPECT_NEAR(f.weightedPeak2Sigma, weighted, 0.05 * weighted);
    EXPECT_NEAR(f.weightedRms, weighted / 0.99692 / std::sqrt(2.0), 0.05 * weighted);
    // Over a span of not quite whole periods the mean is not quite 0.
    EXPECT_LT(std::fabs(f.offset), 0.02 * p.depth);
    EXPECT_LT(f.drift, 0.05 * p.depth);
}

INSTANTIATE_TEST_SUITE_P(Rates, KnownModulation,
                         ::testing::Values(Modulation{0.63, 0.003, -8.4}, Modulation{1.0, 0.003, -4.2},
                                           Modulation{4.0, 0.001, 0.0}, Modulation{10.0, 0.001, -2.1},
                                           Modulation{20.0, 0.0005, -5.9}));

TEST(MeterReading, SlowestWowOfHalfAHertzIsStillWowNotDrift) {
    const Measurement m = measure(modulatedTone(3150.0, 0.003, 0.5, 30.0));
    EXPECT_NEAR(m.figures.unweightedPeak, 0.003, 0.05 * 0.003);
    EXPECT_LT(m.figures.drift, 0.05 * 0.003);
}

TEST(MeterReading, SteadyToneReadsZeroToAThousandthOfAPercent) {
    const Measurement m = measure(modulatedTone(3150.0, 0.0, 0.0, 20.0));
    EXPECT_LT(std::fabs(m.figures.offset), 1e-5);
    EXPECT_LT(m.figures.drift, 1e-5);
    EXPECT_LT(m.figures.unweightedPeak, 1e-5);
    EXPECT_LT(m.figures.weightedPeak2Sigma, 1e-5);
    EXPECT_NEAR(m.meanHz, 3150.0, 3150.0 * 1e-5);
    EXPECT_NEAR(m.toneLevelDb, -20.0, 0.05);
}

TEST(MeterReading, ConstantSpeedErrorIsOffsetAndDriftButNoFlutter) {
    const Measurement m = measure(modulatedTone(3150.0, 0.0, 0.0, 20.0, 0.1, 0.002));
    EXPECT_NEAR(m.figures.offset, 0.002, 1e-5);
    EXPECT_NEAR(m.figures.drift, 0.002, 1e-5);
    EXPECT_LT(m.figures.unweightedPeak, 1e-5);
    EXPECT_LT(m.figures.weightedPeak2Sigma, 1e-5);
}

TEST(MeterReading, StrongestToneIsFoundAndIsItsOwnReference) {
    std::vector<float> x = modulatedTone(4500.0, 0.001, 4.0, 20.0, 0.3, 0.001);
    const std::vector<float> weaker = modulatedTone(1000.0, 0.0, 0.0, 20.0, 0.01);
    for (std::size_t n = 0; n < x.size(); ++n) x[n] += weaker[n];
    const Measurement m = measure(x, std::nullopt);
    EXPECT_TRUE(m.toneSearched);
    EXPECT_NEAR(m.toneHz, 4504.5, 2.0);
    EXPECT_NEAR(m.meanHz, 4504.5, 0.01);
    EXPECT_DOUBLE_EQ(m.referenceHz, m.meanHz);
    EXPECT_LT(std::fabs(m.figures.offset), 1e-6);
    EXPECT_NEAR(m.figures.unweightedPeak, 0.001, 0.05 * 0.001);
}

TEST(MeterReading, OtherTonesAKilohertzAwayDoNotDisturbTheReading) {
    std::vector<float> x = modulatedTone(3150.0, 0.001, 4.0, 20.0);
    for (double other : {2000.0, 4300.0, 19000.0}) {
        const std::vector<float> y = modulatedTone(other, 0.01, 1.7, 20.0);
        for (std::size_t n = 0; n < x.size(); ++n) x[n] += y[n];
    }
    const Measurement m = measure(x);
    EXPECT_NEAR(m.figures.unweightedPeak, 0.001, 1e-5);
    EXPECT_NEAR(m.figures.weightedPeak2Sigma, 0.99692 * 0.001, 1e-5);
}

TEST(MeterReading, RefusesWhatItCannotMeasure) {
    struct Case {
        std::vector<float> samples;
        std::optional<double> toneHz;
        std::string says;
    };
    const std::vector<Case> cases = {
        {modulatedTone(3150.0, 0.0, 0.0, 0.5), kDefaultToneHz, "too short"},
        {std::vector<float>(10 * 44100, 0.0f), kDefaultToneHz, "no tone at 3150.0 Hz"},
        {std::vector<float>(10 * 44100, 0.0f), std::nullopt, "no tone found"},
        {modulatedTone(500.0, 0.0, 0.0, 5.0), 500.0, "between 700.0 Hz"},
        {modulatedTone(3150.0, 0.0, 0.0, 5.0), 21500.0, "between 700.0 Hz and 21350.0 Hz"},
    };
    for (const Case& c : cases) {
        Measurement m;
        std::string error;
        MeterSettings settings;
        settings.toneHz = c.toneHz;
        EXPECT_FALSE(measureSamples(c.samples, kRate, settings, m, error)) << c.says;
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
    }
}

TEST(ExceededMagnitude, TwoSigmaOfASinusoidAndOfGaussianNoise) {
    std::vector<double> sine(100000), noise;
    for (std::size_t i = 0; i < sine.size(); ++i) sine[i] = 2.0 * std::sin(2.0 * M_PI * (i + 0.5) / sine.size());
    EXPECT_NEAR(exceededMagnitude(sine, 0.05), 2.0 * std::sin(0.95 * M_PI / 2.0), 1e-4);
    // Normal quantiles: evenly spaced probabilities through the inverse of erf, by bisection.
    for (int i = 1; i < 20000; ++i) {
        const double p = i / 20000.0;
        double lo = -10.0, hi = 10.0;
        for (int k = 0; k < 80; ++k) {
            const double mid = 0.5 * (lo + hi);
            (0.5 * std::erfc(-mid / std::sqrt(2.0)) < p ? lo : hi) = mid;
        }
        noise.push_back(0.5 * (lo + hi));
    }
    EXPECT_NEAR(exceededMagnitude(noise, 0.05), 1.95996, 2e-3);
}

}  // namespace
}  // namespace wowfix::meter
