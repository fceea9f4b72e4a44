#include "detectors/PreciseObservations.h"

#include <cmath>

namespace wowfix {

void PreciseObservations::clear()
{
    items_.clear();
    frameStart_.clear();
    tracks_.clear();
}

void PreciseObservations::reserveFrames(std::size_t frames) { frameStart_.reserve(frames); }

void PreciseObservations::beginFrame() { frameStart_.push_back(items_.size()); }

void PreciseObservations::add(std::uint32_t track, double frequency, double weight)
{
    if (frameStart_.empty() || !(frequency > 0.0) || !(weight > 0.0))
        return;
    if (track >= tracks_.size())
        tracks_.resize(static_cast<std::size_t>(track) + 1);
    PreciseTrackSpan& span = tracks_[track];
    const std::uint32_t frame = static_cast<std::uint32_t>(frameStart_.size() - 1);
    const double logF = std::log(frequency);
    if (span.count == 0) {
        span.base = logF;
        span.first = frame;
    }
    span.last = frame;
    ++span.count;
    items_.push_back({track, static_cast<float>(logF - span.base), static_cast<float>(weight)});
}

}  // namespace wowfix
