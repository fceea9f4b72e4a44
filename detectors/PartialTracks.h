#pragma once
// The programme's partials linked from frame to frame, each with its own
// long-term frequency: the frequency it would have at speed 1.0, learnt as
// the mean of f / s over the frames where its level is steady, s being each
// frame's joint speed.

#include "detectors/PartialAnalyser.h"

#include <vector>

namespace wowfix {

struct PartialTrack {
    double frequency = 0.0;  // Hz, in the latest frame
    double magnitude = 0.0;
    bool steady = false;     // level within kSteadyLevel of the frame before
    int age = 0;             // frames linked so far, 1 for a new track
    double nominalSum = 0.0; // sum of f / s
    int nominalCount = 0;

    // The frequency at speed 1.0; 0 before anything has been learnt.
    double nominal() const { return nominalCount > 0 ? nominalSum / nominalCount : 0.0; }
};

class PartialTracks {
public:
    // Relative frequency change beyond which a partial is not the same one.
    static constexpr double kLinkTolerance = 0.005;
    // Relative level change between frames beyond which a partial is not
    // steady: an onset or a sudden stop, where the measured frequency is
    // pulled by the changing envelope.
    static constexpr double kSteadyLevel = 1.0;

    void clear() { tracks_.clear(); }
    // The frame's partials continue the nearest track of the frame before
    // (loudest partials choose first), the others start new tracks; tracks
    // that nothing continues end.
    void link(const std::vector<SpectralPartial>& partials);
    // Every steady track older than `minAge` frames learns its long-term
    // frequency from the frame's speed (younger ones may still have their
    // onset inside the frame, which pulls the measured frequency).
    void learn(double speed, int minAge);

    const std::vector<PartialTrack>& tracks() const { return tracks_; }

private:
    std::vector<PartialTrack> tracks_;
    std::vector<PartialTrack> next_;
    std::vector<int> order_;
    std::vector<char> taken_;
};

}  // namespace wowfix
