#include <gtest/gtest.h>

#include <cmath>

#include "CurveMaker.h"
#include "hostsim/curve/BandFilter.h"
#include "hostsim/curve/Centring.h"

namespace wowfix::curve {
namespace {

using test::Tone;

constexpr double kRate = 44100.0;
const std::vector<Tone> kTones = {{0.002, 0.25, 0.3}, {0.0015, 1.0, 1.1}, {0.001, 4.0, 2.0}, {0.0005, 20.0, 0.7}};

// The largest |filtered − expected| more than 6 s (three periods of the slowest
// edge) from the ends,
// where a finite record cannot be filtered exactly.
double largestError(const SpeedCurve& filtered, const std::vector<Tone>& kept, double offset) {
    double largest = 0.0;
    for (const CurvePoint& p : filtered.points) {
        const double t = static_cast<double>(p.position) / kRate;
        if (t < 6.0 || t > 24.0) continue;
        largest = std::max(largest, std::fabs(p.value - 1.0 - offset - test::deviationAt(kept, t)));
    }
    return largest;
}

TEST(BandFilter, KeepsWhatIsInsideTheBandUnshiftedAndRemovesTheRest) {
    const SpeedCurve curve = test::makeCurve(kTones, kRate, 0, 30 * 44100 - 1, 256, 0.003);
    const struct {
        Band band;
        std::vector<Tone> kept;
        double offset;  // the mean survives only when the band starts at 0
    } cases[] = {
        {{0.5, 2.0}, {kTones[1]}, 0.0},
        {{2.0, 8.0}, {kTones[2]}, 0.0},
        {flutterBand(), {kTones[3]}, 0.0},
        {{0.0, 0.5}, {kTones[0]}, 0.003},
        {{0.0, 30.0}, kTones, 0.003},
        {{0.5, 30.0}, {kTones[1], kTones[2], kTones[3]}, 0.0},
    };
    for (const auto& c : cases) {
        SpeedCurve out;
        std::string error;
        ASSERT_TRUE(keepBand(curve, kRate, c.band, out, error)) << error;
        EXPECT_EQ(out.firstPosition(), curve.firstPosition());
        EXPECT_EQ(out.lastPosition(), curve.lastPosition());
        // 2e-5 is 1 % of the largest tone: a phase shift of 0.6° would exceed it.
        EXPECT_LT(largestError(out, c.kept, c.offset), 2e-5) << c.band.low << ":" << c.band.high;
    }
}

TEST(BandFilter, PresetsAndBandsAboveWhatTheCurveShows) {
    Band b;
    EXPECT_TRUE(wowPreset("slow", b));
    EXPECT_DOUBLE_EQ(b.high, 0.5);
    EXPECT_TRUE(wowPreset("medium", b));
    EXPECT_DOUBLE_EQ(b.low, 0.5);
    EXPECT_TRUE(wowPreset("fast", b));
    EXPECT_DOUBLE_EQ(b.high, 8.0);
    EXPECT_FALSE(wowPreset("quick", b));
    // Points every 4410 frames show at most 5 Hz.
    const SpeedCurve coarse = test::makeCurve(kTones, kRate, 0, 10 * 44100, 4410);
    SpeedCurve out;
    std::string error;
    EXPECT_FALSE(keepBand(coarse, kRate, flutterBand(), out, error));
    EXPECT_NE(error.find("Hz"), std::string::npos);
    // A curve that is all edge: the ends of a sinusoid of whole periods
    // stay close too, the mirror keeps the level.
    const SpeedCurve whole = test::makeCurve({{0.002, 1.0}}, kRate, 0, 5 * 44100, 256);
    ASSERT_TRUE(keepBand(whole, kRate, {0.5, 2.0}, out, error));
    EXPECT_NEAR(timeMean(out), 1.0, 1e-5);
}

}  // namespace
}  // namespace wowfix::curve
