#pragma once
// A speed curve as a picture: above, the speed deviation in percent over
// time in seconds; below, the amplitude spectrum of the deviation (peak
// percent per modulation frequency, up to 50 Hz or the fastest the curve's
// spacing shows). With a true curve, it is drawn in orange under the
// measured one (blue) in both panels.

#include <string>

#include "hostsim/curve/SpeedCurve.h"
#include "tools/meter/RgbImage.h"

namespace wowfix::hostsim {

constexpr int kCurvePlotWidth = 900;
constexpr int kCurvePlotHeight = 640;

meter::RgbImage plotCurve(const curve::SpeedCurve& measured, const curve::SpeedCurve* truth, double sampleRate);

}  // namespace wowfix::hostsim
