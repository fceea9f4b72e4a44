#include "detectors/SDPvcResult.h"

#include <algorithm>
#include <new>

namespace wowfix {

void SDPvcResult::clear() {
    std::vector<float>().swap(value_);
    std::vector<float>().swap(best_);
}

bool SDPvcResult::combine(const std::vector<PartialGroup>& groups, float threshold, int frames, int frameLength,
                          int hop) {
    frameLength_ = frameLength;
    hop_ = hop;
    try {
        value_.assign(static_cast<size_t>(std::max(frames, 0)), 1.0f);
        best_.assign(value_.size(), 0.0f);
    } catch (const std::bad_alloc&) {
        clear();
        return false;
    }
    for (const PartialGroup& group : groups) {
        for (const GroupSegment& segment : group.segments) {
            const int end = std::min(segment.endFrame(), frames);
            for (int f = std::max(segment.startFrame, 0); f < end; ++f) {
                if (!frameShown(segment, f, threshold)) continue;
                const float w = segment.weight[static_cast<size_t>(f - segment.startFrame)];
                if (w > best_[static_cast<size_t>(f)]) {
                    best_[static_cast<size_t>(f)] = w;
                    value_[static_cast<size_t>(f)] = segment.ratio(f);
                }
            }
        }
    }
    std::vector<float>().swap(best_);
    return true;
}

int SDPvcResult::position(int i) const {
    if (value_.empty()) return 0;
    const int f = std::clamp(i, 0, count() - 1);
    return f * hop_ + frameLength_ / 2;
}

}  // namespace wowfix
