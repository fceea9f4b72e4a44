#pragma once
// The mean speed of a curve over time, and the curve scaled to mean speed 1.
//
// The correction reads the input at the curve's speed, so its output lasts
// ∫ v dp frames over the input's positions p: a curve whose mean over
// positions is 1 keeps the file's length.

#include <cstdint>

#include "hostsim/curve/SpeedCurve.h"

namespace wowfix::curve {

// The mean of the curve over positions [from, to] (straight lines between
// the points, flat beyond them); the value at `from` when to <= from.
double meanOver(const SpeedCurve& curve, double from, double to);
// Over the curve's own span.
double timeMean(const SpeedCurve& curve);

// Every value multiplied by `factor`.
SpeedCurve scaled(const SpeedCurve& curve, double factor);
// The curve divided by its mean.
SpeedCurve centreMean(const SpeedCurve& curve);

}  // namespace wowfix::curve
