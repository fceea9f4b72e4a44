#pragma once
// The periodic wow of an off-centre disc or an eccentric capstan, fitted to
// the stretches where the measured curve can be trusted and written over the
// whole file.
//
// With t in seconds, ω = 2π / period and τ the time scaled to −1 … 1 over
// the span of the stretches, the deviation d = v − 1 is modelled as
//     d(t) = c0 + c1 τ + Σ_k=1..N [(a_k + a'_k τ) cos kωt + (b_k + b'_k τ) sin kωt],
// so that each harmonic's amplitude and phase may drift slowly (linearly)
// across the file. The coefficients are the least-squares solution over the
// curve's samples inside the stretches; samples whose residual exceeds four
// times the residual RMS are dropped and the fit is made once more. The
// written curve is 1 + c0 + the harmonic sum, with τ held at −1 or 1 outside
// the stretches' span, so nothing grows without bound.

#include <string>
#include <vector>

#include "hostsim/curve/SpeedCurve.h"

namespace wowfix::curve {

struct Stretch {
    double from = 0.0;  // seconds
    double to = 0.0;
};

struct CyclicSettings {
    double periodSeconds = 1.8;
    int harmonics = 3;
    std::vector<Stretch> stretches;  // empty: the whole curve
};

struct CyclicResult {
    SpeedCurve curve;
    double fundamentalPeak = 0.0;  // amplitude of the first harmonic (fraction) at the stretches' centre
    std::size_t samplesUsed = 0;
};

// The period of a disc turning at `rpm`.
inline double rotationPeriod(double rpm) { return 60.0 / rpm; }

bool fitCyclic(const SpeedCurve& curve, double sampleRate, const CyclicSettings& settings, CyclicResult& result,
               std::string& error);

}  // namespace wowfix::curve
