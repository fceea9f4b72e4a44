#pragma once
// A programme that can be evaluated at any programme time τ: synthesised
// directly at the warped time of each damaged sample, so that its damage is
// exact (no resampling is involved).

namespace wowfix::gen {

class WarpedSynth {
public:
    virtual ~WarpedSynth() = default;
    // Adds the programme's value at time `tau` (seconds) to frame[0 …
    // channels−1].
    virtual void addFrame(double tau, double* frame) const = 0;
};

}  // namespace wowfix::gen
