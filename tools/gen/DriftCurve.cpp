#include "tools/gen/DriftCurve.h"

#include <cmath>

#include "tools/gen/MathConstants.h"

namespace wowfix::gen {

namespace {
constexpr int kComponents = 4;
}

DriftCurve::DriftCurve(double depth, double lowHz, double highHz, Random random, double sampleRate,
                       std::int64_t frames)
    : depth_(depth) {
    if (depth <= 0.0) return;
    for (int k = 0; k < kComponents; ++k) {
        Component c;
        c.omega = kTwoPi * random.uniform(lowHz, highHz);
        c.amplitude = random.uniform(0.5, 1.0);
        c.phase = random.uniform(0.0, kTwoPi);
        components_.push_back(c);
    }
    double largest = 0.0;
    for (std::int64_t n = 0; n < frames; ++n) largest = std::fmax(largest, std::fabs(value(n / sampleRate)));
    // Four random sinusoids cancel exactly nowhere but at isolated instants;
    // a (theoretical) sum that is zero on every sample gives no drift.
    const double scale = largest > 0.0 ? depth / largest : 0.0;
    for (Component& c : components_) c.amplitude *= scale;
}

double DriftCurve::value(double t) const {
    double sum = 0.0;
    for (const Component& c : components_) sum += c.amplitude * std::sin(c.omega * t + c.phase);
    return sum;
}

double DriftCurve::integral(double t) const {
    double sum = 0.0;
    for (const Component& c : components_)
        sum += c.amplitude * (std::cos(c.phase) - std::cos(c.omega * t + c.phase)) / c.omega;
    return sum;
}

}  // namespace wowfix::gen
