#pragma once
// The instantaneous frequency of the hum component at the decimated rate:
// the band-passed signal y is shifted down by the nominal frequency f0,
// z[n] = y[n] e^{-j 2π f0 n / R}, low-passed, and its phase advance over a lag
// of L samples gives the deviation
//
//     Δf[n] = R / (2π L) · arg(z[n] · conj(z[n - L])),
//
// which a median and then a moving average smooth. The speed ratio is
// (f0 + Δf) / f0.

#include "extlib/hum/FilterCascade.h"
#include "extlib/hum/HumParameters.h"

#include <complex>
#include <vector>

namespace wowfix::hum {

class HumDemodulator {
public:
    HumDemodulator(const HumParameters& parameters, double rate);

    // Takes one decimated sample; answers the ratio it gives, or 0 while
    // there is no estimate (settling, hum below the floor, beyond the limit).
    double push(double y);

    // Delay of the ratio behind the signal, in decimated samples.
    double delaySamples() const { return delay_; }

private:
    double median(double latest);

    double rate_;
    double nominal_;
    double phaseStep_;
    double phase_ = 0.0;
    FilterCascade lowI_;
    FilterCascade lowQ_;
    int lag_;
    std::vector<std::complex<double>> history_;  // the last `lag` values of z
    size_t historyAt_ = 0;
    std::vector<double> medianWindow_;
    std::vector<double> medianScratch_;
    size_t medianAt_ = 0;
    std::vector<double> smoothing_;
    size_t smoothingAt_ = 0;
    double smoothingSum_ = 0.0;
    double floorAmplitude_;
    double limit_;
    long long seen_ = 0;
    long long settle_;
    double delay_;
};

}  // namespace wowfix::hum
