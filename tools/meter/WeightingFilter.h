#pragma once
// The wow-and-flutter weighting of IEC 60386 / DIN 45507: a band-pass on the
// speed deviation, centred on 4 Hz, where the ear is most sensitive to
// frequency modulation. The standard publishes its response as a table:
//
//     Hz     0.1    0.2    0.315  0.4    0.63   0.8    1.0    1.6    2.0    4.0
//     dB    −48.0  −30.6  −19.7  −15.0  −8.4   −6.0   −4.2   −1.8   −0.9    0
//     ± dB   10     4      2      2      2      2      2      2      2      ref
//
//     Hz     6.3    10     20     40     63     100    200
//     dB    −0.9   −2.1   −5.9  −10.4  −14.2  −17.3  −23.0
//     ± dB   2      2      2      2      2      2      2
//
// This realisation is an analogue prototype of fifth order, fitted to the
// table,
//
//     W(s) = G · s² / (s² + (ω1/Q)·s + ω1²)         high-pass pair, 0.45 Hz, Q 0.70
//              · s / (s + ω2)                       high-pass, 1.55 Hz
//              · ω3 / (s + ω3)                      low-pass, 43 Hz
//              · (ωp/ωz) · (s + ωz) / (s + ωp)       shelf, pole 8.5 Hz, zero 31 Hz
//
// (ωx = 2π·fx, G making |W| = 1 at 4 Hz), mapped to the sample rate by the
// bilinear transform. Its response:
//
//     Hz     0.1    0.2    0.315  0.4    0.63   0.8    1.0    1.6    2.0    4.0
//     dB    −48.5  −30.7  −19.8  −14.9  −8.1   −5.8   −4.1   −1.6   −0.8    0
//     Hz     6.3    10     20     40     63     100    200    500    1000
//     dB    −0.6   −2.2   −6.1  −10.7  −13.9  −17.5  −23.3  −31.1  −37.1
//
// within 0.3 dB of every tabulated point from 0.2 Hz up (0.53 dB at 0.1 Hz,
// which the fit left out); its maximum is +0.02 dB at 3.7 Hz.
// At the meter's track rate (4 kHz or more) the bilinear transform moves the
// 200 Hz point by under 0.1 dB.

#include "tools/meter/Biquad.h"

namespace wowfix::meter {

struct WeightingPoint {
    double hz;
    double db;
    double toleranceDb;
};

class WeightingFilter {
public:
    // The standard's table, as above.
    static const WeightingPoint kTable[17];

    // The digital filter at `sampleRate`.
    static BiquadCascade create(double sampleRate);
    // |W(j·2π·hz)| of the analogue prototype, in dB.
    static double prototypeResponseDb(double hz);
};

}  // namespace wowfix::meter
