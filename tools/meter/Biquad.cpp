#include "tools/meter/Biquad.h"

namespace wowfix::meter {

Biquad::Biquad(double b0, double b1, double b2, double a1, double a2)
    : b0_(b0), b1_(b1), b2_(b2), a1_(a1), a2_(a2) {}

// With s = k(1 − z⁻¹)/(1 + z⁻¹), multiplying through by (1 + z⁻¹)²:
//     c0 + c1·s + c2·s²  →  (c0 + c1·k + c2·k²)
//                          + (2·c0 − 2·c2·k²)·z⁻¹
//                          + (c0 − c1·k + c2·k²)·z⁻²
Biquad Biquad::bilinear(const AnalogSection& s, double sampleRate) {
    const double k = 2.0 * sampleRate;
    const double k2 = k * k;
    const double n0 = s.b0 + s.b1 * k + s.b2 * k2;
    const double n1 = 2.0 * s.b0 - 2.0 * s.b2 * k2;
    const double n2 = s.b0 - s.b1 * k + s.b2 * k2;
    const double d0 = s.a0 + s.a1 * k + s.a2 * k2;
    const double d1 = 2.0 * s.a0 - 2.0 * s.a2 * k2;
    const double d2 = s.a0 - s.a1 * k + s.a2 * k2;
    return Biquad(n0 / d0, n1 / d0, n2 / d0, d1 / d0, d2 / d0);
}

double Biquad::process(double x) {
    const double y = b0_ * x + s1_;
    s1_ = b1_ * x - a1_ * y + s2_;
    s2_ = b2_ * x - a2_ * y;
    return y;
}

double BiquadCascade::process(double x) {
    for (Biquad& section : sections_) x = section.process(x);
    return x;
}

void BiquadCascade::reset() {
    for (Biquad& section : sections_) section.reset();
}

void BiquadCascade::run(std::vector<double>& signal) {
    for (double& x : signal) x = process(x);
}

}  // namespace wowfix::meter
