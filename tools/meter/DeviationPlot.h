#pragma once
// The deviation of a measurement over time as a line plot: the speed
// deviation in percent up to 200 Hz (dark blue) with its slow part, the
// drift (orange),
// over a time axis in seconds, with a labelled grid.

#include <string>

#include "tools/meter/DeviationAnalysis.h"
#include "tools/meter/RgbImage.h"

namespace wowfix::meter {

constexpr int kPlotWidth = 900;
constexpr int kPlotHeight = 420;

RgbImage plotDeviation(const DeviationBands& bands, int width = kPlotWidth, int height = kPlotHeight);

// A round step (1, 2 or 5 × 10^k) that cuts `span` into at most `most` parts.
double niceStep(double span, int most);
// A tick label: `value` with as many decimals as `step` needs.
std::string tickLabel(double value, double step);

}  // namespace wowfix::meter
