#pragma once

#include "detectors/SDPvcGroups.h"

#include <vector>

namespace wowfix {

// The "Confidence" mask: a group's frame is shown when the weight it carries
// is at least the threshold. Nothing is stored per frame, so a new threshold
// re-derives the mask without any analysis.
inline bool frameShown(const GroupSegment& segment, int f, float threshold) {
    return segment.weight[static_cast<size_t>(f - segment.startFrame)] >= threshold;
}

// The detector's curve: one value per analysed frame, at the frame centre
// f hop + N / 2 (samples from the start of the area). Each frame takes the
// ratio of the shown group with the largest weight there (the lowest group
// on ties), 1.0 where no group is shown. N and hop are those of the analysis
// the groups came from.
class SDPvcResult {
public:
    void clear();
    // False (and an empty result) when memory runs out.
    bool combine(const std::vector<PartialGroup>& groups, float threshold, int frames, int frameLength, int hop);

    int count() const { return static_cast<int>(value_.size()); }
    float value(int i) const { return i >= 0 && i < count() ? value_[static_cast<size_t>(i)] : 1.0f; }
    // The last position for i past the end; 0 for an empty result.
    int position(int i) const;

private:
    std::vector<float> value_;
    std::vector<float> best_;
    int frameLength_ = 0;
    int hop_ = 1;
};

}  // namespace wowfix
