#pragma once
// The partials of one frame with sub-bin frequencies. Two Hann-windowed
// transforms, of the frame and of the frame one sample later, give every
// bin's phase advance over one sample; at a spectral peak that advance is the
// partial's angular frequency,
//
//     f = arg(X1[k] conj(X0[k])) fs / (2 pi),
//
// free of any bin grid (the reassigned frequency of the peak). A peak is a
// bin above its two neighbours on each side, at most 70 dB below the frame's
// strongest, 20 dB above the frame's median level, inside the frequency band,
// and whose measured frequency lies within 0.6 bin of it (a sinusoid's does,
// noise and sidelobes mostly do not).

#include "spectral/HartleyTransform.h"

#include <vector>

namespace wowfix {

struct SpectralPartial {
    double frequency;  // Hz
    double magnitude;  // linear, of the windowed transform
};

class PartialAnalyser {
public:
    // False for a length HartleyTransform cannot do or a band outside (0, fs/2).
    bool configure(int length, double sampleRate, double lowest, double highest);
    int length() const { return length_; }

    // `frame` holds length + 1 samples. Replaces `partials`.
    void analyse(const float* frame, std::vector<SpectralPartial>& partials);

private:
    int length_ = 0;
    double sampleRate_ = 0.0;
    int lowBin_ = 0;
    int highBin_ = 0;
    HartleyTransform fft_;
    std::vector<float> window_;
    std::vector<float> now_;
    std::vector<float> later_;
    std::vector<double> magnitude_;
    std::vector<double> scratch_;
};

}  // namespace wowfix
