#pragma once
// Turns white noise pink (power falling 3 dB per octave, −10 dB per decade)
// from 5 Hz up to the top of the band: a cascade of first-order shelves
// (s + 2π·z_k) / (s + 2π·p_k), one per octave, with poles p_k = 5 Hz · 2^k
// and zeros half an octave above them (z_k = √2 · p_k); each section lowers
// the level by 3 dB per octave on average across its octave. The sections
// are mapped to the sample rate by the bilinear transform. Below 5 Hz the
// response is flat; the gain is 1 at DC.

#include <vector>

namespace wowfix::gen {

class PinkingFilter {
public:
    explicit PinkingFilter(double sampleRate);
    double process(double x);

private:
    struct Section {
        double b0, b1, a1;  // y = b0·x + b1·x₋₁ − a1·y₋₁
        double x1 = 0.0, y1 = 0.0;
    };
    std::vector<Section> sections_;
};

}  // namespace wowfix::gen
