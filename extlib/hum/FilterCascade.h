#pragma once
// Butterworth low- and high-pass filters of even order as cascades of
// second-order sections (bilinear transform with pre-warping), and the
// cascade's group delay, which tells how late a narrow-band signal's
// modulation leaves the filter.

#include "extlib/hum/Biquad.h"

#include <vector>

namespace wowfix::hum {

class FilterCascade {
public:
    enum class Kind { lowPass, highPass };

    FilterCascade() = default;
    // order is rounded up to even and kept in 2 ... 16; the cut-off is kept
    // inside (0, 0.49 rate).
    FilterCascade(Kind kind, int order, double cutoff, double rate);

    double process(double x) {
        for (Biquad& section : sections_) x = section.process(x);
        return x;
    }
    // Group delay in samples at frequency f (Hz).
    double groupDelay(double f) const;

private:
    std::vector<Biquad> sections_;
    double rate_ = 1.0;
};

}  // namespace wowfix::hum
