#pragma once

namespace wowfix {

// The six parameters of the tone tracker and the effective settings derived from
// their normalised values v (0..1). round(x) below is trunc(x + 0.5).
//
//   index  name            label    setting                                  range       default
//   0      "FFT Length"    "smpl"   N = 2^round(9 + 4 v)                     512..8192   0.18 -> 1024
//   1      "Overlap"       "%"      overlap = round(0.75 v N) samples        0..0.75 N   1.0  -> 768 at N = 1024
//   2      "Preemphasis"   "ratio"  exponent = round(4 v + 1)                1..5        0.5  -> 3
//   3      "Time smooth"   "order"  T = round(15 v + 1) frames               1..16       0.1  -> 3
//   4      "Freq smooth"   "order"  F = round(7 v + 1) bins                  1..8        0.3  -> 3
//   5      "Bottom margin" "%"      margin = round(50 v + 50) percent        50..100     0.68 -> 84
//
// Display values: N, 75 v (the overlap in percent of N), the exponent, T, F and
// the margin.
struct ToneTrackerSettings {
    static constexpr int paramCount = 6;
    static constexpr int minFftLength = 512;
    static constexpr int maxFftLength = 8192;
    static constexpr int maxBins = maxFftLength / 2 + 1;
    static constexpr float maxOverlapFraction = 0.75f;
    static constexpr int maxPreemphasis = 5;
    static constexpr int maxTimeSmooth = 16;
    static constexpr int maxFreqSmooth = 8;

    int fftLength = 1024;
    int overlapSamples = 768;
    int preemphasis = 3;
    int timeSmooth = 3;
    int freqSmooth = 3;
    int marginPercent = 84;

    int bins() const { return fftLength / 2 + 1; }
    int hop() const { return fftLength - overlapSamples; }

    // Settings from six normalised values, each clamped to 0..1 first.
    static ToneTrackerSettings fromNormalised(const float (&v)[paramCount]);

    static float defaultValue(int index);
    static const char* name(int index);
    static const char* label(int index);
    // The display value of parameter `index` for normalised value v (clamped).
    static float displayValue(int index, float v);
};

}  // namespace wowfix
