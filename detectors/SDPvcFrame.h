#pragma once

#include "spectral/HartleyTransform.h"

#include <cstddef>

#include <vector>

namespace wowfix {

// One analysis frame of the spectral-domain detector: the Hamming-windowed
// frame of N samples, placed zero-phase (its centre at time 0) in a transform
// of M = 8 N points, its level in dB and its phase per bin, and the peaks
// found in it.
//
//   level[k] = 20 log10 |X[k] / S|,  phase[k] = arg X[k],  k = 0 .. M/2 - 1,
//   X[k] = sum_j x[j] e^(-2 pi i jk / M),  S = sum of the window,
//
// so a full-scale sinusoid that falls on a bin reads about -6 dB. Bin k
// stands for the frequency fs k / M (bin centres: no interpolation).
//
// Peaks. Candidates are the strict local maxima of the level in bins 1 ..
// below min(bandHigh + 500 Hz, fs / 2), ascending. The selected peaks are the
// candidates (all but the last one) of at least -40 dB inside [bandLow,
// bandHigh], strongest first, at most maxSelected of them. Each list keeps a
// claim flag per peak: 1 while no track has taken the peak.
class SDPvcFrame {
public:
    static constexpr float levelFloor = -40.0f;
    static constexpr int maxSelected = 64;
    static constexpr double searchMargin = 500.0;  // Hz above the band

    // Sets up the tables for frame length N at `sampleRate` (Hz) and the
    // band. False when N is not a supported length or memory runs out.
    bool configure(int frameLength, double sampleRate, float bandLow, float bandHigh);
    void release();

    // Analyses N samples at `x` and finds the frame's peaks. The previous
    // frame's phases stay available until keepPhase.
    void analyse(const float* x);
    // The current phases become the previous ones.
    void keepPhase();

    int frameLength() const { return n_; }
    int transformLength() const { return m_; }
    int binCount() const { return m_ / 2; }
    float binFrequency(int k) const { return binFrequency_[static_cast<std::size_t>(k)]; }
    float level(int k) const { return level_[static_cast<std::size_t>(k)]; }
    float phase(int k) const { return phase_[static_cast<std::size_t>(k)]; }

    // |trunc(d)| for the phase deviation d in (-pi, pi] of bin b1 in this
    // frame from the advance a steady partial in bin b0 of the previous frame
    // makes over `hop` samples: d = phase[b1] - (previousPhase[b0] + 2 pi b0 hop / M).
    int phaseDeviation(int b0, int b1, int hop) const;

    std::vector<int>& candidates() { return candidates_; }
    std::vector<char>& candidateFree() { return candidateFree_; }
    std::vector<int>& selected() { return selected_; }
    std::vector<char>& selectedFree() { return selectedFree_; }
    const std::vector<int>& candidates() const { return candidates_; }
    const std::vector<char>& candidateFree() const { return candidateFree_; }
    const std::vector<int>& selected() const { return selected_; }

private:
    void transform(const float* x);
    void pickPeaks();
    void selectPeaks();

    int n_ = 0;
    int m_ = 0;
    float bandLow_ = 0.0f;
    float bandHigh_ = 0.0f;
    int limitBin_ = 0;
    std::vector<float> window_;
    double windowSum_ = 1.0;
    std::vector<float> binFrequency_;
    std::vector<float> re_;
    std::vector<float> im_;
    std::vector<float> level_;
    std::vector<float> phase_;
    std::vector<float> previousPhase_;
    std::vector<int> candidates_;
    std::vector<char> candidateFree_;
    std::vector<int> selected_;
    std::vector<char> selectedFree_;
    HartleyTransform fft_;
};

}  // namespace wowfix
