#pragma once
// The true PVC of a damaged recording as .pvc text: one line
// "<position> <value>" per point, the value with six decimals and a point
// as the decimal separator whatever the locale, lines ended by CR LF. The
// points lie at frames 0, step, 2·step, … and at the last frame; each value
// is SpeedModel::frameRatio, the ratio that makes wowfix's correction
// restore the programme (see SpeedModel.h).

#include <cstdint>
#include <string>

#include "tools/gen/SpeedModel.h"

namespace wowfix::gen {

std::string truePvcText(const SpeedModel& speed, double sampleRate, std::int64_t frames, int step);

// One line of it: "<position> <value>\r\n".
void appendPvcPoint(std::string& text, std::int64_t position, double value);

}  // namespace wowfix::gen
