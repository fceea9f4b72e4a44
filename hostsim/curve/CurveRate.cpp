#include "hostsim/curve/CurveRate.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace wowfix::curve {

bool rescaleCurve(const SpeedCurve& curve, double curveRate, double targetRate, std::int64_t targetFrames,
                  double toleranceSeconds, SpeedCurve& out, std::string& error) {
    if (!(curveRate > 0.0) || !(targetRate > 0.0) || targetFrames < 1 || curve.empty()) {
        error = "rates and lengths must be above 0";
        return false;
    }
    const double curveSeconds = static_cast<double>(curve.lastPosition() + 1) / curveRate;
    const double targetSeconds = static_cast<double>(targetFrames) / targetRate;
    if (std::fabs(curveSeconds - targetSeconds) > toleranceSeconds) {
        char text[200];
        std::snprintf(text, sizeof(text),
                      "the curve lasts %.3f s at %.0f Hz but the audio lasts %.3f s at %.0f Hz "
                      "(lengths differ by more than %.3f s)",
                      curveSeconds, curveRate, targetSeconds, targetRate, toleranceSeconds);
        error = text;
        return false;
    }
    const double ratio = targetRate / curveRate;
    out.points.clear();
    for (const CurvePoint& p : curve.points) {
        const std::int64_t position =
            std::min(targetFrames - 1, static_cast<std::int64_t>(std::llround(static_cast<double>(p.position) * ratio)));
        // Points that land on one frame (a lower target rate): the later wins.
        if (!out.points.empty() && out.points.back().position >= position) out.points.pop_back();
        out.points.push_back({position, p.value});
    }
    if (out.points.back().position < targetFrames - 1) out.points.push_back({targetFrames - 1, out.points.back().value});
    return true;
}

}  // namespace wowfix::curve
