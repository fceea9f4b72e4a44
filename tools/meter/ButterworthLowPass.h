#pragma once
// Butterworth low-pass filters of even order: order/2 sections
// ωc² / (s² + (ωc/Q_k)·s + ωc²) with Q_k = 1 / (2·sin((2k − 1)·π / (2·order))),
// mapped by the bilinear transform with the cut-off pre-warped, so that the
// digital filter is exactly −3 dB at `cutoffHz`.

#include "tools/meter/Biquad.h"

namespace wowfix::meter {

BiquadCascade butterworthLowPass(int order, double cutoffHz, double sampleRate);

}  // namespace wowfix::meter
