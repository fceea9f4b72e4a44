#pragma once
// The tracker's preprocessing: an anti-alias low-pass at the input rate,
// decimation by a whole factor to the decimated rate, and a band-pass around
// the tracked hum component at that rate.

#include "extlib/hum/FilterCascade.h"
#include "extlib/hum/HumParameters.h"

namespace wowfix::hum {

class HumFrontEnd {
public:
    HumFrontEnd(const HumParameters& parameters, double inputRate);

    // Takes one input sample; true when a decimated sample is ready in `out`.
    bool push(double x, double& out) {
        const double smooth = antiAlias_.process(x);
        if (++phase_ < factor_) return false;
        phase_ = 0;
        out = bandHigh_.process(bandLow_.process(smooth));
        return true;
    }

    int factor() const { return factor_; }
    double rate() const { return rate_; }
    // Delay of a narrow-band signal at f Hz, in input frames.
    double delayFrames(double f) const;

private:
    int factor_ = 1;
    double rate_ = 1.0;
    int phase_ = 0;
    FilterCascade antiAlias_;
    FilterCascade bandLow_;
    FilterCascade bandHigh_;
};

}  // namespace wowfix::hum
