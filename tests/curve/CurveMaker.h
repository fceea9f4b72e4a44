#pragma once
// Curves made of known sinusoids for the conditioning tests.

#include <cmath>
#include <vector>

#include "hostsim/curve/SpeedCurve.h"

namespace wowfix::curve::test {

struct Tone {
    double depth;  // peak deviation, fraction
    double hz;
    double phase = 0.0;
};

inline double deviationAt(const std::vector<Tone>& tones, double t) {
    double d = 0.0;
    for (const Tone& tone : tones) d += tone.depth * std::sin(2.0 * M_PI * tone.hz * t + tone.phase);
    return d;
}

// 1 + offset + Σ tones, a point every `step` frames from `first`, and one at `last`.
inline SpeedCurve makeCurve(const std::vector<Tone>& tones, double rate, std::int64_t first, std::int64_t last,
                            std::int64_t step = 256, double offset = 0.0) {
    SpeedCurve c;
    for (std::int64_t p = first; p <= last; p += step)
        c.points.push_back({p, 1.0 + offset + deviationAt(tones, static_cast<double>(p) / rate)});
    if (c.points.back().position != last)
        c.points.push_back({last, 1.0 + offset + deviationAt(tones, static_cast<double>(last) / rate)});
    return c;
}

}  // namespace wowfix::curve::test
