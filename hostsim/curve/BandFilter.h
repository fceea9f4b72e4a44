#pragma once
// Keeps only the speed variations between two modulation frequencies.
//
// The deviation d = v − 1 of the evenly sampled curve, less the straight
// line through its ends, is extended by odd reflection at both ends (so that
// neither a jump nor a kink appears where the ends wrap onto each other),
// transformed, weighted by a real, even gain G(f) and transformed back: a
// zero-phase filter, no delay and no phase shift at any frequency. The line
// counts as the slowest motion: it is kept when low = 0, removed otherwise. G is 1 inside [low, high] and
// falls to 0 along raised-cosine edges of relative width kEdgeWidth centred
// on each limit (gain ½ at the limit itself). low = 0 keeps the constant part
// (the mean speed); low > 0 removes it, so the result has mean speed 1.

#include <string>

#include "hostsim/curve/SpeedCurve.h"

namespace wowfix::curve {

constexpr double kEdgeWidth = 1.0 / 3.0;  // of the limit's frequency, each side

struct Band {
    double low = 0.0;   // Hz, 0 or more
    double high = 0.0;  // Hz, above low
};

// The preset names: "wow slow" 0–0.5, "wow medium" 0.5–2, "wow fast" 2–8,
// "flutter" 8–40 Hz. False for an unknown name.
bool wowPreset(const std::string& name, Band& band);
Band flutterBand();

// The curve filtered on its natural grid; `sampleRate` turns frames into
// seconds. False with `error` when the band lies wholly above what the
// curve's spacing can show.
bool keepBand(const SpeedCurve& curve, double sampleRate, const Band& band, SpeedCurve& out, std::string& error);

}  // namespace wowfix::curve
