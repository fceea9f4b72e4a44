#pragma once
// Linear-phase FIR low-pass by the window method: the ideal low-pass
// h[n] = 2fc·sinc(2fc·(n − M)) under a Kaiser window, with the length and the
// window's β chosen by Kaiser's formulas for a given stop-band attenuation A
// (dB) and transition width Δf:
//
//     β = 0.1102·(A − 8.7)                       (A > 50)
//     N = ceil((A − 8) / (2.285 · 2π·Δf/fs)) + 1, made odd; M = (N − 1)/2,
//
// fc being the middle of the transition band. The taps are scaled to a DC
// gain of exactly 1.

#include <vector>

namespace wowfix::meter {

std::vector<double> kaiserLowPass(double passHz, double stopHz, double attenuationDb, double sampleRate);

// The zeroth-order modified Bessel function of the first kind.
double besselI0(double x);

}  // namespace wowfix::meter
