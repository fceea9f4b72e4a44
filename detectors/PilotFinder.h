#pragma once
// Finds the pilot tone's frequency from the long-term spectrum of the first
// seconds of a run: Hann-windowed transforms of 8192 samples are summed in
// power, the strongest bin above the search floor is taken, and its position
// is refined by a parabola through the logarithms of the three bins around it
// (a Gaussian fit, a small fraction of a bin for a Hann window). A peak counts
// as a tone only when it stands 20 dB above the median of the bins within 64
// of it and holds at least 1e-8 (-80 dB) of the whole spectrum's power.

#include "spectral/HartleyTransform.h"

#include <vector>

namespace wowfix {

class PilotFinder {
public:
    static constexpr int kLength = 8192;
    static constexpr int kMaxFrames = 64;  // about 12 s at 44.1 kHz

    PilotFinder(double sampleRate, double searchFloor);
    void reset();
    // Takes samples until kMaxFrames transforms have been summed.
    void offer(const float* samples, int count);
    bool full() const { return frames_ >= kMaxFrames; }
    int frames() const { return frames_; }

    // The tone's frequency in Hz; false when no frame was complete or no bin
    // stands out.
    bool find(double& frequency) const;

private:
    void addFrame();

    double sampleRate_;
    double searchFloor_;
    HartleyTransform fft_;
    std::vector<float> frame_;
    std::vector<float> work_;
    std::vector<double> power_;
    std::vector<float> window_;
    int fill_ = 0;
    int frames_ = 0;
};

}  // namespace wowfix
