#include "hostsim/curve/Centring.h"

#include <algorithm>

namespace wowfix::curve {

double meanOver(const SpeedCurve& curve, double from, double to) {
    if (!(to > from)) return curve.valueAt(from);
    // The integral of the piecewise linear curve, from breakpoint to breakpoint.
    double area = 0.0;
    double a = from;
    double va = curve.valueAt(a);
    const auto& pts = curve.points;
    auto it = std::upper_bound(pts.begin(), pts.end(), from,
                               [](double p, const CurvePoint& q) { return p < static_cast<double>(q.position); });
    for (; it != pts.end() && static_cast<double>(it->position) < to; ++it) {
        const double b = static_cast<double>(it->position);
        area += 0.5 * (va + it->value) * (b - a);
        a = b;
        va = it->value;
    }
    area += 0.5 * (va + curve.valueAt(to)) * (to - a);
    return area / (to - from);
}

double timeMean(const SpeedCurve& curve) {
    return meanOver(curve, static_cast<double>(curve.firstPosition()), static_cast<double>(curve.lastPosition()));
}

SpeedCurve scaled(const SpeedCurve& curve, double factor) {
    SpeedCurve out = curve;
    for (CurvePoint& p : out.points) p.value *= factor;
    return out;
}

SpeedCurve centreMean(const SpeedCurve& curve) {
    const double mean = timeMean(curve);
    return mean > 0.0 ? scaled(curve, 1.0 / mean) : curve;
}

}  // namespace wowfix::curve
