#pragma once

namespace wowfix {

// The three parameters of the spectral-domain detector and the effective
// settings derived from their normalised values v (0..1). round(x) is
// trunc(x + 0.5).
//
//   index  name          label   setting                                 range        default
//   0      "FFT Length"  "smpl"  N = 2^round(8 + 4 v), M = 8 N            256..4096    0.25 -> 512
//   1      "Overlap"     "%"     overlap = round(0.8 v N), hop = N - it   0..0.8 N     0.6  -> 246
//   2      "Confidence"  "%"     threshold on group support               0..1         0.0
//
// Display values: N, round(80 v) and v.
struct SDPvcSettings {
    static constexpr int paramCount = 3;
    static constexpr int minFftLength = 256;
    static constexpr int maxFftLength = 4096;
    static constexpr int zeroPadding = 8;
    static constexpr float maxOverlapFraction = 0.8f;

    int frameLength = 512;     // N
    int overlapSamples = 246;
    float confidence = 0.0f;

    int transformLength() const { return zeroPadding * frameLength; }  // M
    int hop() const { return frameLength - overlapSamples; }

    // Settings from three normalised values, each clamped to 0..1 first.
    static SDPvcSettings fromNormalised(const float (&v)[paramCount]);

    static float defaultValue(int index);
    static const char* name(int index);
    static const char* label(int index);
    // The display value of parameter `index` for normalised value v (clamped).
    static float displayValue(int index, float v);
};

}  // namespace wowfix
