#pragma once
// A curve measured on one transfer applied to another of the same tape at
// another sampling rate: positions scaled by the ratio of the rates. The two
// must last equally long (within a tolerance); otherwise the curve belongs
// to another cut of the tape and is refused.

#include <cstdint>
#include <string>

#include "hostsim/curve/SpeedCurve.h"

namespace wowfix::curve {

constexpr double kLengthToleranceSeconds = 0.05;

// `targetFrames`: the length of the file the curve is for, at `targetRate`.
// The curve's length is its last position + 1 frames at `curveRate`.
bool rescaleCurve(const SpeedCurve& curve, double curveRate, double targetRate, std::int64_t targetFrames,
                  double toleranceSeconds, SpeedCurve& out, std::string& error);

}  // namespace wowfix::curve
