#include "hostsim/curve/BandFilter.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "hostsim/curve/Fft.h"
#include "hostsim/curve/UniformCurve.h"

namespace wowfix::curve {

namespace {

// 0 below f0 − w, 1 above f0 + w, a raised cosine between.
double risingEdge(double f, double f0) {
    const double w = kEdgeWidth * f0;
    if (f <= f0 - w) return 0.0;
    if (f >= f0 + w) return 1.0;
    return 0.5 - 0.5 * std::cos(M_PI * (f - (f0 - w)) / (2.0 * w));
}

double gain(double f, const Band& band) {
    const double above = band.low > 0.0 ? risingEdge(f, band.low) : 1.0;
    return above * (1.0 - risingEdge(f, band.high));
}

}  // namespace

bool wowPreset(const std::string& name, Band& band) {
    if (name == "slow") band = {0.0, 0.5};
    else if (name == "medium") band = {0.5, 2.0};
    else if (name == "fast") band = {2.0, 8.0};
    else return false;
    return true;
}

Band flutterBand() { return {8.0, 40.0}; }

bool keepBand(const SpeedCurve& curve, double sampleRate, const Band& band, SpeedCurve& out, std::string& error) {
    const std::int64_t step = naturalStep(curve);
    const double gridRate = sampleRate / static_cast<double>(step);
    if (band.low >= 0.5 * gridRate) {
        error = "the band starts above " + std::to_string(0.5 * gridRate) +
                " Hz, the fastest variation the curve's point spacing can show";
        return false;
    }
    UniformCurve u = sampleUniform(curve, step);
    const std::size_t count = u.values.size();
    const double span = static_cast<double>(curve.lastPosition() - curve.firstPosition());
    if (count < 2 || span <= 0.0) {
        out = curve;
        if (band.low > 0.0)
            for (CurvePoint& p : out.points) p.value = 1.0;
        return true;
    }
    // A fine grid of n = 2^k + 1 points over the curve's span: mirrored, it
    // is one period of exactly 2^(k+1) points, an even sequence that the
    // transform sees without any jump.
    const std::size_t n = nextPowerOfTwo(count - 1) + 1;
    const std::size_t period = 2 * (n - 1);
    const double fineStep = span / static_cast<double>(n - 1);
    const double fineRate = sampleRate / fineStep;
    std::vector<std::complex<double>> x(period, 0.0);
    for (std::size_t i = 0; i < n; ++i)
        x[i] = curve.valueAt(static_cast<double>(curve.firstPosition()) + static_cast<double>(i) * fineStep) - 1.0;
    for (std::size_t i = 1; i + 1 < n; ++i) x[period - i] = x[i];
    transform(x, false);
    for (std::size_t k = 0; k < period; ++k) {
        const std::size_t folded = k <= period / 2 ? k : period - k;
        x[k] *= gain(static_cast<double>(folded) * fineRate / static_cast<double>(period), band);
    }
    transform(x, true);
    // Back onto the curve's own grid, linearly between fine samples.
    for (std::size_t i = 0; i < count; ++i) {
        const double at = static_cast<double>(u.positionOf(i) - curve.firstPosition()) / fineStep;
        const std::size_t j = std::min(n - 2, static_cast<std::size_t>(at));
        const double t = std::clamp(at - static_cast<double>(j), 0.0, 1.0);
        const double d = (1.0 - t) * x[j].real() + t * x[j + 1].real();
        u.values[i] = std::clamp(1.0 + d, 1e-6, 2.0);
    }
    out = toSpeedCurve(u);
    return true;
}

}  // namespace wowfix::curve
