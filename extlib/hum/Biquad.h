#pragma once
// One second-order section, y = (b0 + b1 z^-1 + b2 z^-2) / (1 + a1 z^-1 + a2 z^-2) x,
// in transposed direct form II with double-precision state.

#include <complex>

namespace wowfix::hum {

struct BiquadCoefficients {
    double b0 = 1.0, b1 = 0.0, b2 = 0.0, a1 = 0.0, a2 = 0.0;

    // The section's response at the normalised angular frequency w (rad/sample).
    std::complex<double> response(double w) const;
};

class Biquad {
public:
    Biquad() = default;
    explicit Biquad(const BiquadCoefficients& c) : c_(c) {}

    double process(double x) {
        const double y = c_.b0 * x + s1_;
        s1_ = c_.b1 * x - c_.a1 * y + s2_;
        s2_ = c_.b2 * x - c_.a2 * y;
        return y;
    }
    const BiquadCoefficients& coefficients() const { return c_; }

private:
    BiquadCoefficients c_;
    double s1_ = 0.0;
    double s2_ = 0.0;
};

}  // namespace wowfix::hum
