#pragma once
// Several curves measured on different stretches (or on different tones) of
// one file, combined into one.
//
// The curves are taken in the order of their first positions; the first is
// the reference. Each next curve is scaled by the constant factor that makes
// its mean over the overlap with what is joined so far equal to the joined
// curve's mean there (a tone that is itself off pitch reads as a constant
// speed error), and across the overlap the result fades linearly from the
// joined curve to the new one. A curve that adds nothing beyond the joined
// span only sets no points. Curves that neither overlap nor touch leave a
// gap, which is refused: the speed there is unknown.

#include <string>
#include <vector>

#include "hostsim/curve/SpeedCurve.h"

namespace wowfix::curve {

struct NamedCurve {
    std::string name;  // for messages
    SpeedCurve curve;
};

struct JoinResult {
    SpeedCurve curve;
    std::vector<double> factors;  // per input curve, in the order given
};

bool joinCurves(const std::vector<NamedCurve>& curves, JoinResult& result, std::string& error);

}  // namespace wowfix::curve
