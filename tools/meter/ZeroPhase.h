#pragma once
// Filtering of a whole recorded signal without delay or phase shift.
//
// Both ends are extended by `pad` points of even reflection about the end
// point (x[−k] = x[k]), which keeps the level and the mean of oscillations at
// the ends, so that the filter starts close to settled. zeroPhase then runs
// the filter forward, and again backward over the result: the magnitude
// response is squared, the phase cancels. settledRun runs a causal filter
// once over the extended signal and keeps the original span: the filter's
// own response, started on the reflection. Neither removes the edge effect
// of a slow filter entirely; DeviationAnalysis leaves the ends out of its
// figures.

#include <vector>

#include "tools/meter/Biquad.h"

namespace wowfix::meter {

std::vector<double> zeroPhase(BiquadCascade filter, const std::vector<double>& signal, std::size_t pad);
std::vector<double> settledRun(BiquadCascade filter, const std::vector<double>& signal, std::size_t pad);

// The signal with `pad` points of even reflection before and after
// (pad is cut to size − 1).
std::vector<double> mirrorExtension(const std::vector<double>& signal, std::size_t pad);

}  // namespace wowfix::meter
