#pragma once

namespace wowfix {

// The four parameters of the precise partial tracker and the settings derived
// from their normalised values v (0..1); round(x) is trunc(x + 0.5).
//
//   index  name                 label   setting                         range        default
//   0      "FFT Length"         "smpl"  N = 2^round(10 + 3 v)           1024..8192   0.6667 -> 4096
//   1      "Lowest frequency"   "Hz"    round(20 + 1980 v)              20..2000     0.0303 -> 80
//   2      "Highest frequency"  "Hz"    round(500 + 19500 v)            500..20000   0.2308 -> 5000
//   3      "Curve bandwidth"    "Hz"    round(1 + 49 v)                 1..50        0.3878 -> 20
//
// Frames are N samples long, one every N / 8. The display value is the
// setting itself.
struct PartialTrackerSettings {
    static constexpr int paramCount = 4;

    int fftLength = 4096;
    double lowest = 80.0;
    double highest = 5000.0;
    double curveBandwidth = 20.0;

    int hop() const { return fftLength / 8; }

    static PartialTrackerSettings fromNormalised(const float (&v)[paramCount]);

    static float defaultValue(int index);
    static const char* name(int index);
    static const char* label(int index);
    static float displayValue(int index, float v);
};

}  // namespace wowfix
