#pragma once
// A slow random wander: a sum of a few sinusoids of random low frequency,
// amplitude and phase, scaled so that its largest magnitude over the samples
// of the file is exactly the depth asked for:
//
//     d(t) = (depth / G) · Σ_k c_k · sin(2π·ν_k·t + ψ_k),
//     G = max over n = 0 … frames−1 of |Σ_k c_k · sin(2π·ν_k·n/fs + ψ_k)|,
//
// with ν_k uniform in [lowHz, highHz], c_k in [0.5, 1], ψ_k in [0, 2π), all
// drawn from one random stream. Its integral is closed-form:
//
//     ∫_0^t d = (depth / G) · Σ_k c_k · (cos ψ_k − cos(2π·ν_k·t + ψ_k)) / (2π·ν_k).

#include <cstdint>
#include <vector>

#include "tools/gen/Random.h"

namespace wowfix::gen {

class DriftCurve {
public:
    // No drift at all.
    DriftCurve() = default;
    DriftCurve(double depth, double lowHz, double highHz, Random random, double sampleRate, std::int64_t frames);

    double value(double t) const;
    double integral(double t) const;  // ∫_0^t d
    double depth() const { return depth_; }

private:
    struct Component {
        double amplitude;  // c_k · depth / G
        double omega;      // 2π·ν_k
        double phase;      // ψ_k
    };
    double depth_ = 0.0;
    std::vector<Component> components_;
};

}  // namespace wowfix::gen
