// The weighting filter, measured the way a meter sees it: sinusoidal speed
// deviations run through the digital filter at the meter's track rates.

#include <gtest/gtest.h>

#include <cmath>

#include "tools/meter/ToneDemodulator.h"
#include "tools/meter/WeightingFilter.h"

namespace wowfix::meter {
namespace {

// Steady-state gain in dB at `hz`: the amplitude of the output's component
// at hz over whole periods after the filter has settled.
double measuredGainDb(double hz, double rate) {
    BiquadCascade filter = WeightingFilter::create(rate);
    const double periods = std::max(20.0, std::ceil(hz * 10.0));
    const long settle = static_cast<long>(std::ceil(30.0 * rate));
    const long length = static_cast<long>(std::llround(periods / hz * rate));
    double c = 0.0, s = 0.0;
    for (long n = 0; n < settle + length; ++n) {
        const double phase = 2.0 * M_PI * hz * n / rate;
        const double y = filter.process(std::sin(phase));
        if (n >= settle) {
            c += y * std::cos(phase);
            s += y * std::sin(phase);
        }
    }
    return 20.0 * std::log10(2.0 * std::hypot(c, s) / length);
}

class WeightingAtTrackRate : public ::testing::TestWithParam<double> {};

TEST_P(WeightingAtTrackRate, MeetsTheStandardsTableWithinItsTolerances) {
    for (const WeightingPoint& p : WeightingFilter::kTable) {
        const double gain = measuredGainDb(p.hz, GetParam());
        // The reference point is exact; elsewhere the standard's tolerance,
        // and this design's own promise of 0.6 dB.
        const double tolerance = p.toleranceDb == 0.0 ? 0.01 : std::min(p.toleranceDb, 0.6);
        EXPECT_NEAR(gain, p.db, tolerance) << p.hz << " Hz at " << GetParam() << " points/s";
    }
}

// Track rates of the meter, which lie from 4 to 8 kHz: 48 kHz / 12,
// 44.1 kHz / 11, 11.025 kHz / 2, 7.9 kHz / 1.
INSTANTIATE_TEST_SUITE_P(Rates, WeightingAtTrackRate, ::testing::Values(4000.0, 44100.0 / 11.0, 5512.5, 7900.0));

TEST(Weighting, PeaksNearFourHertzAndFallsOffOnBothSides) {
    const double rate = 44100.0 / 11.0;
    double best = -1e9, bestHz = 0.0;
    for (double hz = 1.0; hz <= 16.0; hz *= std::pow(2.0, 1.0 / 12.0)) {
        const double g = measuredGainDb(hz, rate);
        if (g > best) best = g, bestHz = hz;
    }
    EXPECT_GT(bestHz, 3.0);
    EXPECT_LT(bestHz, 5.0);
    EXPECT_LT(best, 0.1);
    EXPECT_LT(measuredGainDb(0.05, rate), -60.0);
    EXPECT_LT(measuredGainDb(1000.0, rate), -35.0);
}

TEST(Weighting, DigitalFilterFollowsItsAnaloguePrototype) {
    for (double hz : {0.3, 1.0, 4.0, 12.0, 50.0, 150.0})
        EXPECT_NEAR(measuredGainDb(hz, 4009.0), WeightingFilter::prototypeResponseDb(hz), 0.1) << hz << " Hz";
}

}  // namespace
}  // namespace wowfix::meter
