#pragma once
// Power-line hum: A · sin(2π·F·(u + ∫_0^u h)), a sine at the mains frequency F
// whose own slow drift h (DriftCurve, the mains frequency wandering by a
// fraction of a percent) is independent of the tape's speed. `u` is the
// time of whichever clock the hum rides on: the playback clock t when it is
// picked up while the tape is played (the default), or programme time τ when
// it was recorded onto the tape. With harmonics, the 2nd and 3rd follow at
// 6 and 10 dB below the fundamental, as a rectifier's buzz adds them.

#include "tools/gen/DriftCurve.h"

namespace wowfix::gen {

class MainsHum {
public:
    MainsHum() = default;
    MainsHum(double frequency, double amplitude, DriftCurve drift, bool harmonics = false);
    double value(double u) const;
    double frequencyAt(double u) const;  // F · (1 + h(u))

private:
    double frequency_ = 0.0;
    double amplitude_ = 0.0;
    DriftCurve drift_;
    bool harmonics_ = false;
};

}  // namespace wowfix::gen
