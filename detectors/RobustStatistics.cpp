#include "detectors/RobustStatistics.h"

#include <algorithm>

namespace wowfix {

double medianInPlace(std::vector<double>& values)
{
    if (values.empty())
        return 0.0;
    const std::size_t half = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(half), values.end());
    const double upper = values[half];
    if (values.size() % 2 == 1)
        return upper;
    const double lower = *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(half));
    return 0.5 * (lower + upper);
}

bool weightedMedian(std::vector<WeightedValue>& items, double& median)
{
    double total = 0.0;
    for (const WeightedValue& item : items)
        if (item.weight > 0.0)
            total += item.weight;
    if (!(total > 0.0))
        return false;
    std::sort(items.begin(), items.end(),
              [](const WeightedValue& a, const WeightedValue& b) { return a.value < b.value; });
    double below = 0.0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!(items[i].weight > 0.0))
            continue;
        below += items[i].weight;
        if (below >= 0.5 * total) {
            // Exactly half below: the middle between this value and the next.
            if (below == 0.5 * total) {
                for (std::size_t j = i + 1; j < items.size(); ++j) {
                    if (items[j].weight > 0.0) {
                        median = 0.5 * (items[i].value + items[j].value);
                        return true;
                    }
                }
            }
            median = items[i].value;
            return true;
        }
    }
    median = items.back().value;
    return true;
}

}  // namespace wowfix
