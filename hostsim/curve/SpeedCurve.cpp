#include "hostsim/curve/SpeedCurve.h"

#include <algorithm>

namespace wowfix::curve {

double SpeedCurve::valueAt(double position) const {
    if (points.empty()) return 1.0;
    if (position <= static_cast<double>(points.front().position)) return points.front().value;
    if (position >= static_cast<double>(points.back().position)) return points.back().value;
    const auto right = std::upper_bound(points.begin(), points.end(), position,
                                        [](double p, const CurvePoint& q) { return p < static_cast<double>(q.position); });
    const CurvePoint& r = *right;
    const CurvePoint& l = *(right - 1);
    const double t = (position - static_cast<double>(l.position)) / static_cast<double>(r.position - l.position);
    return l.value + t * (r.value - l.value);
}

}  // namespace wowfix::curve
