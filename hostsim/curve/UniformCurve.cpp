#include "hostsim/curve/UniformCurve.h"

#include <algorithm>

namespace wowfix::curve {

std::int64_t naturalStep(const SpeedCurve& curve) {
    std::vector<std::int64_t> gaps;
    for (std::size_t i = 1; i < curve.points.size(); ++i)
        gaps.push_back(curve.points[i].position - curve.points[i - 1].position);
    if (gaps.empty()) return 1;
    std::nth_element(gaps.begin(), gaps.begin() + static_cast<long>(gaps.size() / 2), gaps.end());
    return std::max<std::int64_t>(1, gaps[gaps.size() / 2]);
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
