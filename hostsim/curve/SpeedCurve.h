#pragma once
// A speed curve as the .pvc file holds it: points in ascending sample
// position, straight lines between them, held flat beyond the first and the
// last point.

#include <cstdint>
#include <vector>

namespace wowfix::curve {

struct CurvePoint {
    std::int64_t position = 0;
    double value = 1.0;
};

struct SpeedCurve {
    std::vector<CurvePoint> points;

    bool empty() const { return points.empty(); }
    std::int64_t firstPosition() const { return points.empty() ? 0 : points.front().position; }
    std::int64_t lastPosition() const { return points.empty() ? 0 : points.back().position; }
    // The speed at `position` (a fraction of a frame allowed); 1 for an empty curve.
    double valueAt(double position) const;
};

}  // namespace wowfix::curve
