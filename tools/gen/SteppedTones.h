#pragma once
// A stepped-tone sequence, the same in every channel: one tone after another,
// each held for `hold` seconds of programme time, the list repeating. The
// phase runs on continuously across the steps, so the wave has no jumps.

#include <vector>

#include "tools/gen/WarpedSynth.h"

namespace wowfix::gen {

class SteppedTones : public WarpedSynth {
public:
    SteppedTones(std::vector<double> frequencies, double hold, double amplitude, int channels);
    void addFrame(double tau, double* frame) const override;
    // The frequency sounding at `tau`.
    double frequencyAt(double tau) const;

    // The default sequence: octaves from 125 Hz and the 3150 Hz test
    // frequency, those that stay below `highest` Hz.
    static std::vector<double> standardSteps(double highest);

private:
    std::vector<double> frequencies_;
    double hold_;
    double amplitude_;
    int channels_;
    double cycleCycles_;  // cycles of one pass through the whole list
};

}  // namespace wowfix::gen
