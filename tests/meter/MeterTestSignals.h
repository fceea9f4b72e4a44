#pragma once
// Test signals for the meter, written from their defining formulas (not
// through the generator): a tone whose frequency is f0·(1 + d(t)).

#include <cmath>
#include <vector>

namespace wowfix::metertest {

constexpr double kRate = 44100.0;

// A·sin(2π·f0·(t + D(t))) with D(t) = ∫ a·sin(2π·fm·t) = a·(1 − cos 2π·fm·t)/(2π·fm):
// instantaneous frequency f0·(1 + a·sin(2π·fm·t)).
inline std::vector<float> modulatedTone(double f0, double depth, double rateHz, double seconds,
                                        double amplitude = 0.1, double offset = 0.0) {
    std::vector<float> x(static_cast<std::size_t>(seconds * kRate));
    for (std::size_t n = 0; n < x.size(); ++n) {
        const double t = n / kRate;
        const double d = rateHz > 0.0 ? depth * (1.0 - std::cos(2.0 * M_PI * rateHz * t)) / (2.0 * M_PI * rateHz) : 0.0;
        x[n] = static_cast<float>(amplitude * std::sin(2.0 * M_PI * f0 * ((1.0 + offset) * t + d)));
    }
    return x;
}

}  // namespace wowfix::metertest
