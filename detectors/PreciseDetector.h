#pragma once

#include "detectors/PvcDetector.h"

namespace wowfix {

// A detector that measures the whole run before it answers: the precise
// pilot tracker and the precise partial tracker. A run is
//
//     startRun, offerSearchSamples (the start of the run, optional),
//     process (the whole run, in order), finishRun, then ratioAt;
//
// every step answers false, with lastMessage() saying why, when the run
// cannot go on. ratioAt is the speed ratio at a sample position of the run,
// 1.0 until finishRun has succeeded.
class PreciseDetector : public PvcDetector {
public:
    virtual bool startRun() = 0;
    // Room for a run of `frames` samples.
    virtual void expectFrames(long long frames) = 0;
    virtual void offerSearchSamples(const float* samples, int count) = 0;
    virtual bool process(const float* samples, int count) = 0;
    virtual bool finishRun() = 0;
    virtual double ratioAt(double position) const = 0;
    // Held stretches of the curve (dropouts, no usable partials); 0 when none.
    virtual int bridgedStretches() const = 0;
    virtual const char* lastMessage() const = 0;
};

}  // namespace wowfix
