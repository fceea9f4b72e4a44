#pragma once
// A linear-phase low-pass for a finished track: a Hann-windowed sinc applied
// centred on every value, so nothing moves in time. The ends are extended by
// odd reflection about the end values, which keeps a ramp a ramp.

#include <vector>

namespace wowfix {

class ZeroPhaseLowPass {
public:
    // Cut-off (-6 dB) at `cutoff` Hz for values `rate` Hz apart; the window
    // spans four periods of the cut-off's transition width `transition` Hz.
    // A cut-off at or above rate / 2 leaves the values as they are.
    ZeroPhaseLowPass(double cutoff, double transition, double rate);

    int taps() const { return static_cast<int>(kernel_.size()); }
    // Gain at frequency f Hz (1 at 0 Hz).
    double gainAt(double f, double rate) const;

    // Filters `values` in place.
    void apply(std::vector<float>& values) const;

private:
    std::vector<double> kernel_;  // symmetric, odd length, sums to 1
};

}  // namespace wowfix
