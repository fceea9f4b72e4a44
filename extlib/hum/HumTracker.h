#pragma once
// The mains-hum speed tracker: preprocessing, demodulation and the speed
// ratio at every input frame, delayed by delayFrames(). Two independent
// chains: one for the preprocessed signal the editor shows, one for the
// ratio, so that showing the signal does not disturb a detection.

#include "extlib/hum/HumDemodulator.h"
#include "extlib/hum/HumFrontEnd.h"
#include "extlib/hum/HumParameters.h"

#include <memory>

namespace wowfix::hum {

class HumTracker {
public:
    explicit HumTracker(double sampleRate);

    HumParameters& parameters() { return parameters_; }
    const HumParameters& parameters() const { return parameters_; }
    // A changed parameter takes effect from the next block on: the chains are
    // built again from the new settings before it.
    void setParameter(int index, float value);

    // The ratio after each of the `frames` input frames (0: no estimate).
    void process(const float* input, int frames, float* ratios);
    // The band-passed, decimated signal; answers the values written (never
    // more than `capacity`).
    int preprocess(const float* input, int frames, float* output, int capacity);

    // Output delay in input frames.
    int delayFrames();
    double decimatedRate();

private:
    void buildChains();

    double sampleRate_;
    HumParameters parameters_;
    bool stale_ = true;
    std::unique_ptr<HumFrontEnd> detectionFront_;
    std::unique_ptr<HumDemodulator> demodulator_;
    std::unique_ptr<HumFrontEnd> previewFront_;
    float current_ = 0.0f;
};

}  // namespace wowfix::hum
