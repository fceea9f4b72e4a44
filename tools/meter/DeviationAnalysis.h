#pragma once
// From the speed deviation of a tone to the meter's figures.
//
// The deviation is d = f / f_ref − 1 (f the tone's instantaneous frequency,
// f_ref its nominal frequency). It is split into
//
//   slow        d low-passed at kDriftHz (zero-phase 4th-order Butterworth,
//               so −6 dB there, −0.02 dB at 0.1 Hz, −32 dB at 0.5 Hz): the drift;
//   unweighted  d − slow, low-passed at kUpperHz (zero-phase 2nd-order
//               Butterworth): the wow and flutter from 0.2 to 200 Hz;
//   weighted    d − mean(d) through the IEC 60386 weighting (WeightingFilter),
//               run once forward as the standard's meter does.
//
// The filters start on a mirror image of the signal's ends (ZeroPhase.h),
// which leaves an edge effect that dies away over a few seconds (the 0.2 Hz
// split rings for about that long). The figures are therefore taken over the
// settled span only: kSettleSeconds from each end, or a quarter of the
// length from each end for recordings shorter than 4 × kSettleSeconds.
//
// Figures (all ratios; ×100 for percent):
//   offset            mean of d: the constant speed error
//   drift             largest |slow|: the slow wander about nominal speed
//   unweighted peak   largest |unweighted|; unweighted RMS its root mean square
//   weighted 2σ peak  the value that |weighted| exceeds during 5 % of the time
//                     (a sinusoidal deviation of peak P reads 0.997·P; Gaussian
//                     noise of RMS σ reads 1.96·σ); weighted RMS likewise

#include <vector>

namespace wowfix::meter {

constexpr double kDriftHz = 0.2;
constexpr double kUpperHz = 200.0;
constexpr double kSettleSeconds = 6.0;

struct DeviationBands {
    double rate = 0.0;       // points per second
    double startTime = 0.0;  // seconds, of point 0
    std::vector<double> total;
    std::vector<double> slow;
    std::vector<double> unweighted;
    std::vector<double> weighted;
    std::size_t settledBegin = 0;  // the span of the figures: points settledBegin …
    std::size_t settledEnd = 0;    // … settledEnd − 1
};

struct WowFlutterFigures {
    double offset = 0.0;
    double drift = 0.0;
    double unweightedPeak = 0.0;
    double unweightedRms = 0.0;
    double weightedPeak2Sigma = 0.0;
    double weightedRms = 0.0;
};

// The settled span of n points at `rate`: [begin, end).
void settledSpan(std::size_t n, double rate, std::size_t& begin, std::size_t& end);

DeviationBands splitDeviation(std::vector<double> deviation, double rate, double startTime);
WowFlutterFigures figuresOf(const DeviationBands& bands);

// The value that |x| exceeds in a `fraction` of the points (0.05: the 95th
// percentile of |x|).
double exceededMagnitude(const std::vector<double>& x, double fraction);

}  // namespace wowfix::meter
