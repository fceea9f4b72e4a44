#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "CurveMaker.h"
#include "hostsim/curve/Centring.h"
#include "hostsim/curve/CurveJoin.h"
#include "hostsim/curve/CyclicFit.h"

namespace wowfix::curve {
namespace {

using test::Tone;

constexpr double kRate = 44100.0;

TEST(Centring, MeanOverPositionsAndTheCentredCurve) {
    SpeedCurve c;
    c.points = {{0, 1.0}, {100, 1.02}, {150, 0.98}, {1000, 1.01}};
    // The mean by summing frame by frame, straight lines between points.
    double sum = 0.0;
    const int steps = 100000;
    for (int i = 0; i < steps; ++i) sum += c.valueAt(1000.0 * (i + 0.5) / steps);
    EXPECT_NEAR(timeMean(c), sum / steps, 1e-8);
    EXPECT_NEAR(meanOver(c, 100, 150), 1.0, 1e-12);
    EXPECT_NEAR(meanOver(c, -100, 0), 1.0, 1e-12);  // held before the first point
    const SpeedCurve centred = centreMean(c);
    EXPECT_NEAR(timeMean(centred), 1.0, 1e-12);
    EXPECT_NEAR(centred.points[1].value / centred.points[2].value, 1.02 / 0.98, 1e-12);

    const SpeedCurve wobbly = test::makeCurve({{0.003, 0.7}, {0.001, 6.0}}, kRate, 0, 441000, 256, 0.004);
    EXPECT_NEAR(timeMean(centreMean(wobbly)), 1.0, 1e-12);
}

TEST(CyclicFit, RecoversAKnownEccentricityFromTwoShortStretches) {
    // 33⅓ rpm: 0.25 % at the rotation rate, 0.05 % at twice it, over 60 s;
    // outside two 4 s stretches the measurement is useless (noise, a dropout).
    const double period = rotationPeriod(100.0 / 3.0);
    const std::vector<Tone> eccentric = {{0.0025, 1.0 / period, 0.4}, {0.0005, 2.0 / period, 1.3}};
    SpeedCurve curve = test::makeCurve(eccentric, kRate, 0, 60 * 44100 - 1, 256, 0.001);
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0.0, 0.01);
    for (CurvePoint& p : curve.points) {
        const double t = static_cast<double>(p.position) / kRate;
        const bool good = (t >= 5.0 && t <= 9.0) || (t >= 40.0 && t <= 44.0);
        if (!good) p.value = std::clamp(1.0 + noise(random), 0.9, 1.1);
    }
    curve.points[curve.points.size() / 3].value = 0.5;  // outside: ignored anyway

    CyclicSettings settings;
    settings.periodSeconds = period;
    settings.harmonics = 3;
    settings.stretches = {{5.0, 9.0}, {40.0, 44.0}};
    CyclicResult result;
    std::string error;
    ASSERT_TRUE(fitCyclic(curve, kRate, settings, result, error)) << error;
    EXPECT_NEAR(result.fundamentalPeak, 0.0025, 2e-5);
    EXPECT_EQ(result.curve.firstPosition(), 0);
    EXPECT_EQ(result.curve.lastPosition(), curve.lastPosition());
    double largest = 0.0;
    for (const CurvePoint& p : result.curve.points) {
        const double t = static_cast<double>(p.position) / kRate;
        largest = std::max(largest, std::fabs(p.value - 1.001 - test::deviationAt(eccentric, t)));
    }
    EXPECT_LT(largest, 5e-5);  // 2 % of the eccentricity, over the whole minute

    settings.stretches = {{5.0, 5.5}};
    EXPECT_FALSE(fitCyclic(curve, kRate, settings, result, error));
    EXPECT_NE(error.find("too few"), std::string::npos);
    settings.stretches = {{100.0, 200.0}};
    EXPECT_FALSE(fitCyclic(curve, kRate, settings, result, error));
}

TEST(CurveJoin, AlignsByTheFactorOverTheOverlapAndRefusesGaps) {
    const std::vector<Tone> wow = {{0.003, 0.5}, {0.001, 3.0}};
    const SpeedCurve truth = test::makeCurve(wow, kRate, 0, 30 * 44100, 256);
    // A: 0 ... 18 s as it is; B: 12 ... 30 s, read from a tone 0.4 % off pitch.
    NamedCurve a{"a.pvc", test::makeCurve(wow, kRate, 0, 18 * 44100, 256)};
    NamedCurve b{"b.pvc", test::makeCurve(wow, kRate, 12 * 44100, 30 * 44100, 256)};
    for (CurvePoint& p : b.curve.points) p.value *= 1.004;
    JoinResult result;
    std::string error;
    ASSERT_TRUE(joinCurves({b, a}, result, error)) << error;  // any order
    EXPECT_DOUBLE_EQ(result.factors[1], 1.0);
    EXPECT_NEAR(result.factors[0], 1.0 / 1.004, 1e-9);
    EXPECT_EQ(result.curve.firstPosition(), 0);
    EXPECT_EQ(result.curve.lastPosition(), 30 * 44100);
    double largest = 0.0;
    for (const CurvePoint& p : result.curve.points)
        largest = std::max(largest, std::fabs(p.value - truth.valueAt(static_cast<double>(p.position))));
    EXPECT_LT(largest, 1e-6);

    NamedCurve late{"late.pvc", test::makeCurve(wow, kRate, 20 * 44100, 30 * 44100, 256)};
    EXPECT_FALSE(joinCurves({a, late}, result, error));
    EXPECT_EQ(error.rfind("late.pvc:1: starts at 882000, after the curves before it end at 793800", 0), 0u) << error;
}

}  // namespace
}  // namespace wowfix::curve
