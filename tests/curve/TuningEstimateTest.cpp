#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "hostsim/curve/TuningEstimate.h"

namespace wowfix::curve {
namespace {

// Equal-tempered notes A3, E4, A4, C#5, E5 (with a weaker octave each),
// all `offset` cents off A4 = 440 Hz, in a little noise.
std::vector<float> chord(double offset, double rate, double seconds) {
    const int semitones[] = {-12, -5, 0, 4, 7};
    std::vector<float> x(static_cast<std::size_t>(rate * seconds));
    std::mt19937 random(3);
    std::normal_distribution<double> noise(0.0, 0.001);
    for (std::size_t n = 0; n < x.size(); ++n) {
        const double t = static_cast<double>(n) / rate;
        double v = noise(random);
        for (int s : semitones) {
            const double f = 440.0 * std::pow(2.0, (100.0 * s + offset) / 1200.0);
            v += 0.1 * std::sin(2.0 * M_PI * f * t) + 0.03 * std::sin(4.0 * M_PI * f * t + 0.5);
        }
        x[n] = static_cast<float>(v);
    }
    return x;
}

TEST(TuningEstimate, FindsTheOffsetFromConcertPitch) {
    for (double offset : {0.0, 15.0, -30.0, 45.0}) {
        for (double rate : {44100.0, 96000.0}) {
            const std::vector<float> x = chord(offset, rate, 4.0);
            TuningEstimate estimate(rate);
            estimate.add(x.data(), x.size() / 3);  // in pieces, as a file is read
            estimate.add(x.data() + x.size() / 3, x.size() - x.size() / 3);
            double cents = 0.0;
            std::string error;
            ASSERT_TRUE(estimate.offsetCents(440.0, cents, error)) << error;
            EXPECT_NEAR(cents, offset, 1.0) << rate;
            // Against another reference the same programme is off by the difference.
            ASSERT_TRUE(estimate.offsetCents(440.0 * std::pow(2.0, 10.0 / 1200.0), cents, error));
            EXPECT_NEAR(cents, offset - 10.0, 1.0);
        }
    }
    TuningEstimate silent(44100.0);
    const std::vector<float> zeros(100000, 0.0f);
    silent.add(zeros.data(), zeros.size());
    double cents = 0.0;
    std::string error;
    EXPECT_FALSE(silent.offsetCents(440.0, cents, error));
    EXPECT_FALSE(error.empty());
    TuningEstimate empty(44100.0);
    EXPECT_FALSE(empty.offsetCents(440.0, cents, error));
}

}  // namespace
}  // namespace wowfix::curve
