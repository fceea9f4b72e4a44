#pragma once

#include <cmath>

namespace wowfix::gen {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;

// 10^(dB / 20): the amplitude of a level in dB relative to full scale.
inline double amplitudeOfDb(double db) { return std::pow(10.0, db / 20.0); }

}  // namespace wowfix::gen
