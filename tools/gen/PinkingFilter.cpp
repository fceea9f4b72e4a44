#include "tools/gen/PinkingFilter.h"

#include <cmath>

#include "tools/gen/MathConstants.h"

namespace wowfix::gen {

namespace {
constexpr double kLowestPole = 5.0;  // Hz
}

// Bilinear transform of (s + ωz)/(s + ωp) · (ωp / ωz), unity gain at DC,
// with s = 2fs·(1 − z⁻¹)/(1 + z⁻¹):
//     H(z) = g · ((k + ωz) + (ωz − k) z⁻¹) / ((k + ωp) + (ωp − k) z⁻¹),  k = 2fs.
PinkingFilter::PinkingFilter(double sampleRate) {
    const double k = 2.0 * sampleRate;
    for (double pole = kLowestPole; pole < 0.5 * sampleRate; pole *= 2.0) {
        const double wp = kTwoPi * pole;
        const double wz = wp * std::sqrt(2.0);
        const double g = wp / wz;
        Section s;
        s.b0 = g * (k + wz) / (k + wp);
        s.b1 = g * (wz - k) / (k + wp);
        s.a1 = (wp - k) / (k + wp);
        sections_.push_back(s);
    }
}

double PinkingFilter::process(double x) {
    for (Section& s : sections_) {
        const double y = s.b0 * x + s.b1 * s.x1 - s.a1 * s.y1;
        s.x1 = x;
        s.y1 = y;
        x = y;
    }
    return x;
}

}  // namespace wowfix::gen
