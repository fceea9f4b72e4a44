#include "hostsim/curve/UniformCurve.h"

#include <algorithm>

namespace wowfix::curve {

std::int64_t naturalStep(const SpeedCurve& curve) {
    if (curve.points.size() < 2) return 1;
    std::int64_t smallest = curve.lastPosition() - curve.firstPosition();
    // The last gap is left out when there are others: curves end on the
    // selection's last frame, whatever their own spacing.
    const std::size_t gaps = curve.points.size() - 1;
    for (std::size_t i = 1; i < curve.points.size() && (i < gaps || gaps == 1); ++i)
        smallest = std::min(smallest, curve.points[i].position - curve.points[i - 1].position);
    const std::int64_t finest = (curve.lastPosition() - curve.firstPosition()) / 1000000;
    return std::max<std::int64_t>({1, smallest, finest});
}

UniformCurve sampleUniform(const SpeedCurve& curve, std::int64_t step) {
    UniformCurve u;
    u.start = curve.firstPosition();
    u.step = std::max<std::int64_t>(1, step);
    const std::int64_t span = curve.lastPosition() - u.start;
    const std::int64_t count = span / u.step + 1;
    u.values.reserve(static_cast<std::size_t>(count) + 1);
    for (std::int64_t i = 0; i < count; ++i) u.values.push_back(curve.valueAt(static_cast<double>(u.start + i * u.step)));
    u.end = curve.lastPosition();
    return u;
}

SpeedCurve toSpeedCurve(const UniformCurve& uniform) {
    SpeedCurve curve;
    curve.points.reserve(uniform.values.size());
    for (std::size_t i = 0; i < uniform.values.size(); ++i) curve.points.push_back({uniform.positionOf(i), uniform.values[i]});
    if (!curve.points.empty() && curve.points.back().position < uniform.end)
        curve.points.push_back({uniform.end, curve.points.back().value});
    return curve;
}

}  // namespace wowfix::curve
