#include "extlib/hum/FilterCascade.h"

#include <algorithm>
#include <cmath>

namespace wowfix::hum {

namespace {

constexpr double kPi = 3.14159265358979323846;

BiquadCoefficients section(FilterCascade::Kind kind, double w0, double q) {
    const double cosine = std::cos(w0);
    const double alpha = std::sin(w0) / (2.0 * q);
    const double a0 = 1.0 + alpha;
    BiquadCoefficients c;
    if (kind == FilterCascade::Kind::lowPass) {
        c.b0 = (1.0 - cosine) / 2.0 / a0;
        c.b1 = (1.0 - cosine) / a0;
    } else {
        c.b0 = (1.0 + cosine) / 2.0 / a0;
        c.b1 = -(1.0 + cosine) / a0;
    }
    c.b2 = c.b0;
    c.a1 = -2.0 * cosine / a0;
    c.a2 = (1.0 - alpha) / a0;
    return c;
}

}  // namespace

FilterCascade::FilterCascade(Kind kind, int order, double cutoff, double rate) : rate_(rate) {
    const int n = std::clamp(order + (order & 1), 2, 16);
    const double fc = std::clamp(cutoff, 1e-6 * rate, 0.49 * rate);
    const double w0 = 2.0 * kPi * fc / rate;
    // The poles of a Butterworth filter of order n in pairs: Q = 1 / (2 cos θk).
    for (int k = 0; k < n / 2; ++k) {
        const double theta = kPi * (2.0 * k + 1.0) / (2.0 * n);
        sections_.emplace_back(section(kind, w0, 1.0 / (2.0 * std::cos(theta))));
    }
}

double FilterCascade::groupDelay(double f) const {
    const double w = 2.0 * kPi * f / rate_;
    const double dw = 1e-5;
    std::complex<double> ratio = 1.0;
    for (const Biquad& s : sections_)
        ratio *= s.coefficients().response(w + dw) / s.coefficients().response(std::max(w - dw, 0.0));
    return -std::arg(ratio) / (w + dw - std::max(w - dw, 0.0));
}

}  // namespace wowfix::hum
