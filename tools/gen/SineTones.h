#pragma once
// Steady sine tones, the same in every channel: Σ_k A_k · sin(2π·f_k·τ).

#include <vector>

#include "tools/gen/WarpedSynth.h"

namespace wowfix::gen {

struct Tone {
    double frequency = 0.0;  // Hz
    double amplitude = 0.0;  // peak, full scale 1.0
};

class SineTones : public WarpedSynth {
public:
    SineTones(std::vector<Tone> tones, int channels);
    void addFrame(double tau, double* frame) const override;
    // The value of the tones at `tau` (one channel).
    double value(double tau) const;

private:
    std::vector<Tone> tones_;
    int channels_;
};

// sin(2π·f·τ) with the whole cycles of f·τ removed first, so that the sine's
// argument stays small however long the file is.
double sineOfCycles(double frequency, double tau);

}  // namespace wowfix::gen
