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
    if (count < 2) {
        out = curve;
        if (band.low > 0.0)
            for (CurvePoint& p : out.points) p.value = 1.0;
        return true;
    }
    // d less the straight line through its ends, r, is zero at both ends;
    // r followed by −r reversed is one period of an odd sequence of
    // 2n − 2 points whose value and slope run on across both ends, so the
    // transform sees no jump and no kink. The line itself is the slowest
    // motion there is: kept with the mean when the band starts at 0.
    const std::size_t n = count;
    const std::size_t period = 2 * n - 2;
    const double d0 = u.values.front() - 1.0;
    const double d1 = u.values.back() - 1.0;
    auto line = [&](std::size_t i) { return d0 + (d1 - d0) * static_cast<double>(i) / static_cast<double>(n - 1); };
    std::vector<std::complex<double>> x(period, 0.0);
    for (std::size_t i = 0; i < n; ++i) x[i] = u.values[i] - 1.0 - line(i);
    for (std::size_t i = 1; i + 1 < n; ++i) x[period - i] = -x[i];
    transformAnyLength(x, false);
    for (std::size_t k = 0; k < period; ++k) {
        const std::size_t folded = k <= period / 2 ? k : period - k;
        x[k] *= gain(static_cast<double>(folded) * gridRate / static_cast<double>(period), band);
    }
    transformAnyLength(x, true);
    for (std::size_t i = 0; i < n; ++i) {
        const double d = x[i].real() + (band.low > 0.0 ? 0.0 : line(i));
        u.values[i] = std::clamp(1.0 + d, 1e-6, 2.0);
    }
    out = toSpeedCurve(u);
    return true;
}

}  // namespace wowfix::curve
