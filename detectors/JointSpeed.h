#pragma once
// The speed of one frame from the ratios of its partials (each partial's
// frequency divided by its long-term frequency), robust to the partials that
// do not follow the tape: a note that bends, a singer's vibrato, a partial
// linked to the wrong track.
//
//     s0 = weighted median of the ratios
//     scale = max(1.4826 * weighted median |r - s0|, 2e-5)
//     s = weighted mean of the ratios within 3 scale of s0
//     confidence = (weight within) / (all weight) * min(1, partials within / 3)

#include "detectors/RobustStatistics.h"

#include <vector>

namespace wowfix {

// False, leaving speed and confidence alone, when no ratio has a weight.
// `ratios` is reordered and reused as scratch.
bool jointSpeed(std::vector<WeightedValue>& ratios, double& speed, double& confidence);

}  // namespace wowfix
