#include "detectors/JointSpeed.h"

#include <algorithm>
#include <cmath>

namespace wowfix {

namespace {
constexpr double kMinScale = 2e-5;
constexpr double kInlierScales = 3.0;
constexpr double kFullSupport = 3.0;
}

bool jointSpeed(std::vector<WeightedValue>& ratios, double& speed, double& confidence)
{
    double centre = 0.0;
    if (!weightedMedian(ratios, centre))
        return false;
    std::vector<WeightedValue> deviations(ratios);
    for (WeightedValue& d : deviations)
        d.value = std::fabs(d.value - centre);
    double spread = 0.0;
    weightedMedian(deviations, spread);
    const double limit = kInlierScales * std::max(1.4826 * spread, kMinScale);
    double total = 0.0, within = 0.0, sum = 0.0;
    int count = 0;
    for (const WeightedValue& r : ratios) {
        if (!(r.weight > 0.0))
            continue;
        total += r.weight;
        if (std::fabs(r.value - centre) <= limit) {
            within += r.weight;
            sum += r.weight * r.value;
            ++count;
        }
    }
    speed = within > 0.0 ? sum / within : centre;
    confidence = (within / total) * std::min(1.0, count / kFullSupport);
    return true;
}

}  // namespace wowfix
