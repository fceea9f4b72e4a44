#include "extlib/hum/HumTracker.h"

#include <cmath>

namespace wowfix::hum {

HumTracker::HumTracker(double sampleRate) : sampleRate_(sampleRate) {}

void HumTracker::setParameter(int index, float value) {
    parameters_.setValue(index, value);
    stale_ = true;
}

void HumTracker::buildChains() {
    if (!stale_) return;
    detectionFront_ = std::make_unique<HumFrontEnd>(parameters_, sampleRate_);
    demodulator_ = std::make_unique<HumDemodulator>(parameters_, detectionFront_->rate());
    previewFront_ = std::make_unique<HumFrontEnd>(parameters_, sampleRate_);
    current_ = 0.0f;
    stale_ = false;
}

void HumTracker::process(const float* input, int frames, float* ratios) {
    buildChains();
    for (int i = 0; i < frames; ++i) {
        double y = 0.0;
        if (detectionFront_->push(input[i], y)) current_ = static_cast<float>(demodulator_->push(y));
        ratios[i] = current_;
    }
}

int HumTracker::preprocess(const float* input, int frames, float* output, int capacity) {
    buildChains();
    int written = 0;
    for (int i = 0; i < frames; ++i) {
        double y = 0.0;
        if (previewFront_->push(input[i], y) && written < capacity) output[written++] = static_cast<float>(y);
    }
    return written;
}

int HumTracker::delayFrames() {
    buildChains();
    const double nominal = parameters_.display(kNominalFrequency);
    const double delay =
        detectionFront_->delayFrames(nominal) + detectionFront_->factor() * demodulator_->delaySamples();
    return static_cast<int>(std::lround(delay));
}

double HumTracker::decimatedRate() {
    buildChains();
    return detectionFront_->rate();
}

}  // namespace wowfix::hum
