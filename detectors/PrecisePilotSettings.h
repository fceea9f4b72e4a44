#pragma once

namespace wowfix {

// The four parameters of the precise pilot tracker and the settings derived
// from their normalised values v (0..1); round(x) is trunc(x + 0.5).
//
//   index  name               label  setting                                range          default
//   0      "Pilot frequency"  "Hz"   50 round(1000 v); 0: found in the run  0, 50..50000   0 -> found
//   1      "Bandwidth"        "Hz"   round(100 + 900 v), either side        100..1000      0.3889 -> 450
//   2      "Curve bandwidth"  "Hz"   round(10 + 190 v)                      10..200        0.3158 -> 70
//   3      "Dropout level"    "dB"   round(-40 + 34 v), below the median    -40..-6        0.5882 -> -20
//
// A pilot frequency given is also the reference (speed 1.0); without one the
// tracker looks for the pilot and the run's median frequency is the reference.
// The display value is the setting itself.
struct PrecisePilotSettings {
    static constexpr int paramCount = 4;

    double pilotFrequency = 0.0;   // Hz; 0: find it
    double halfBandwidth = 450.0;  // Hz around the pilot
    double curveBandwidth = 70.0;  // Hz, the curve's low-pass
    double dropoutDb = -20.0;      // level below the median that counts as a dropout

    static PrecisePilotSettings fromNormalised(const float (&v)[paramCount]);

    static float defaultValue(int index);
    static const char* name(int index);
    static const char* label(int index);
    static float displayValue(int index, float v);
};

}  // namespace wowfix
