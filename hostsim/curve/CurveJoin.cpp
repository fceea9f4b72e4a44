#include "hostsim/curve/CurveJoin.h"

#include <algorithm>
#include <numeric>

#include "hostsim/curve/Centring.h"
#include "hostsim/curve/UniformCurve.h"

namespace wowfix::curve {

bool joinCurves(const std::vector<NamedCurve>& curves, JoinResult& result, std::string& error) {
    result = JoinResult{};
    if (curves.empty()) {
        error = "no curves to join";
        return false;
    }
    std::vector<std::size_t> order(curves.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return curves[a].curve.firstPosition() < curves[b].curve.firstPosition();
    });
    result.factors.assign(curves.size(), 1.0);
    std::int64_t step = naturalStep(curves[order[0]].curve);
    for (std::size_t i : order) step = std::min(step, naturalStep(curves[i].curve));

    SpeedCurve joined = curves[order[0]].curve;
    for (std::size_t n = 1; n < order.size(); ++n) {
        const NamedCurve& next = curves[order[n]];
        const double from = static_cast<double>(next.curve.firstPosition());
        const double to = static_cast<double>(std::min(joined.lastPosition(), next.curve.lastPosition()));
        if (from > static_cast<double>(joined.lastPosition())) {
            error = next.name + ":1: starts at " + std::to_string(next.curve.firstPosition()) +
                    ", after the curves before it end at " + std::to_string(joined.lastPosition()) +
                    " (a gap: the speed between is unknown)";
            return false;
        }
        const double factor = meanOver(joined, from, to) / meanOver(next.curve, from, to);
        result.factors[order[n]] = factor;
        if (next.curve.lastPosition() <= joined.lastPosition()) continue;
        UniformCurve blend;
        blend.start = joined.firstPosition();
        blend.step = step;
        blend.end = next.curve.lastPosition();
        for (std::int64_t p = blend.start; p <= blend.end; p += step) {
            const double x = static_cast<double>(p);
            double v;
            if (x < from) v = joined.valueAt(x);
            else if (x > to) v = factor * next.curve.valueAt(x);
            else {
                const double w = to > from ? (x - from) / (to - from) : 1.0;
                v = (1.0 - w) * joined.valueAt(x) + w * factor * next.curve.valueAt(x);
            }
            blend.values.push_back(v);
        }
        SpeedCurve combined = toSpeedCurve(blend);
        combined.points.back().value = factor * next.curve.valueAt(static_cast<double>(blend.end));
        joined = std::move(combined);
    }
    result.curve = std::move(joined);
    return true;
}

}  // namespace wowfix::curve
