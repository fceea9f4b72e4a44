#pragma once
// Order statistics that the precise detectors use to stay robust against
// outliers: plain and weighted medians.

#include <cstddef>
#include <vector>

namespace wowfix {

// The median of `values` (reordered in place); 0 for none.
double medianInPlace(std::vector<double>& values);

// The median of every `stride`-th of `values` that `use` accepts; `fallback`
// when there is none. Visits at most values.size() / stride + 1 entries, so a
// long run needs only a bounded copy.
template <typename Values, typename Accept>
double sampledMedian(const Values& values, std::size_t stride, Accept use, double fallback)
{
    std::vector<double> picked;
    picked.reserve(values.size() / (stride == 0 ? 1 : stride) + 1);
    for (std::size_t i = 0; i < values.size(); i += (stride == 0 ? 1 : stride))
        if (use(i))
            picked.push_back(static_cast<double>(values[i]));
    return picked.empty() ? fallback : medianInPlace(picked);
}

// One value with its weight for weightedMedian.
struct WeightedValue {
    double value;
    double weight;
};

// The value at which the weights below and above balance: the weighted median.
// Entries with weight <= 0 count for nothing; `items` is reordered. Answers
// false when no entry has a positive weight.
bool weightedMedian(std::vector<WeightedValue>& items, double& median);

}  // namespace wowfix
