#pragma once
// A speed curve sampled on an even grid of positions: what filtering and
// fitting over time need. Position of sample i = start + i × step (frames).

#include <cstdint>
#include <vector>

#include "hostsim/curve/SpeedCurve.h"

namespace wowfix::curve {

struct UniformCurve {
    std::int64_t start = 0;
    std::int64_t step = 1;
    std::vector<double> values;
    std::int64_t end = 0;  // the curve's last position, at or after the last grid sample

    std::int64_t positionOf(std::size_t i) const { return start + static_cast<std::int64_t>(i) * step; }
};

// The smallest spacing of the curve's points: the grid that keeps all the
// detail the curve has, also where thinning left long straight stretches
// (the last spacing, up to the selection's end, does not count).
// At least 1 frame, and no finer than a millionth of the curve's span.
std::int64_t naturalStep(const SpeedCurve& curve);

// The curve on the grid from its first point up to its last.
UniformCurve sampleUniform(const SpeedCurve& curve, std::int64_t step);

// One point per grid sample, and one at `end` holding the last value when
// the grid stops short of it.
SpeedCurve toSpeedCurve(const UniformCurve& uniform);

}  // namespace wowfix::curve
