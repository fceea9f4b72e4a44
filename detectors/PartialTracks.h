#pragma once
// The programme's partials linked from frame to frame. Every track has a
// number of its own, counted from 0 since the last restart, so that what is
// measured of it can be gathered over its whole life.

#include "detectors/PartialAnalyser.h"

#include <cstdint>
#include <vector>

namespace wowfix {

struct PartialTrack {
    double frequency = 0.0;  // Hz, in the latest frame
    double magnitude = 0.0;
    bool steady = false;     // level within kSteadyLevel of the frame before
    double levelStep = 0.0;  // |ln| of the level's ratio to the frame before (0 for a new track)
    int age = 0;             // frames linked so far, 1 for a new track
    std::uint32_t id = 0;
};

class PartialTracks {
public:
    // Relative frequency change beyond which a partial is not the same one.
    static constexpr double kLinkTolerance = 0.005;
    // Relative level change between frames beyond which a partial is not
    // steady: an onset or a sudden stop, where the measured frequency is
    // pulled by the changing envelope.
    static constexpr double kSteadyLevel = 1.0;

    // Ends every track; the next ones are numbered from 0 again.
    void restart()
    {
        tracks_.clear();
        nextId_ = 0;
    }
    // Ends every track; numbering goes on.
    void clear() { tracks_.clear(); }
    // The frame's partials continue the nearest track of the frame before
    // (loudest partials choose first), the others start new tracks; tracks
    // that nothing continues end.
    void link(const std::vector<SpectralPartial>& partials);

    const std::vector<PartialTrack>& tracks() const { return tracks_; }

private:
    std::vector<PartialTrack> tracks_;
    std::vector<PartialTrack> next_;
    std::vector<int> order_;
    std::vector<char> taken_;
    std::uint32_t nextId_ = 0;
};

}  // namespace wowfix
