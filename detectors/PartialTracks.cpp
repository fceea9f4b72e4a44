#include "detectors/PartialTracks.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace wowfix {

void PartialTracks::link(const std::vector<SpectralPartial>& partials)
{
    order_.resize(partials.size());
    std::iota(order_.begin(), order_.end(), 0);
    std::sort(order_.begin(), order_.end(), [&](int a, int b) {
        return partials[static_cast<std::size_t>(a)].magnitude > partials[static_cast<std::size_t>(b)].magnitude;
    });
    taken_.assign(tracks_.size(), 0);
    next_.clear();
    for (int index : order_) {
        const SpectralPartial& p = partials[static_cast<std::size_t>(index)];
        int best = -1;
        double bestDistance = kLinkTolerance;
        for (std::size_t t = 0; t < tracks_.size(); ++t) {
            if (taken_[t])
                continue;
            const double distance = std::fabs(p.frequency / tracks_[t].frequency - 1.0);
            if (distance < bestDistance) {
                bestDistance = distance;
                best = static_cast<int>(t);
            }
        }
        PartialTrack track;
        if (best >= 0) {
            taken_[static_cast<std::size_t>(best)] = 1;
            track = tracks_[static_cast<std::size_t>(best)];
        } else {
            track.id = nextId_++;
        }
        track.steady = best >= 0 && std::fabs(p.magnitude / track.magnitude - 1.0) <= kSteadyLevel;
        track.levelStep = best >= 0 && p.magnitude > 0.0 && track.magnitude > 0.0 ? std::fabs(std::log(p.magnitude / track.magnitude)) : 0.0;
        track.frequency = p.frequency;
        track.magnitude = p.magnitude;
        ++track.age;
        next_.push_back(track);
    }
    tracks_.swap(next_);
}

}  // namespace wowfix
