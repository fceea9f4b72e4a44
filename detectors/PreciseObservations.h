#pragma once
// What the precise partial tracker measured of the programme's partials over a
// whole run: for every frame the log frequencies of the partials that were
// steady in it, each with its track's number and a weight, and for every
// track the frames it spans.
//
// A log frequency is kept as a single-precision offset from its track's first
// one (a few parts in 10^9 for the small offsets of one note), so one
// observation takes 12 bytes.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace wowfix {

struct PreciseObservation {
    std::uint32_t track;
    float offset;  // log frequency minus the track's base
    float weight;
};

struct PreciseTrackSpan {
    double base = 0.0;  // log frequency of the track's first observation
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    std::uint32_t count = 0;  // observations; 0 for a track never observed
};

class PreciseObservations {
public:
    void clear();
    void reserveFrames(std::size_t frames);
    // Starts the next frame; add() then puts observations into it.
    void beginFrame();
    // Tracks are numbered from 0 in the order they first appear.
    void add(std::uint32_t track, double frequency, double weight);

    std::size_t frameCount() const { return frameStart_.size(); }
    std::size_t size() const { return items_.size(); }
    const PreciseObservation* frameBegin(std::size_t frame) const { return items_.data() + frameStart_[frame]; }
    const PreciseObservation* frameEnd(std::size_t frame) const
    {
        return items_.data() + (frame + 1 < frameStart_.size() ? frameStart_[frame + 1] : items_.size());
    }
    // Index of an observation, for values kept beside it.
    std::size_t indexOf(const PreciseObservation* o) const { return static_cast<std::size_t>(o - items_.data()); }
    const std::vector<PreciseTrackSpan>& tracks() const { return tracks_; }
    double logFrequency(const PreciseObservation& o) const { return tracks_[o.track].base + o.offset; }

private:
    std::vector<PreciseObservation> items_;
    std::vector<std::size_t> frameStart_;
    std::vector<PreciseTrackSpan> tracks_;
};

}  // namespace wowfix
