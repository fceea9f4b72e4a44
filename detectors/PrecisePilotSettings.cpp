#include "detectors/PrecisePilotSettings.h"

#include "detectors/SettingRows.h"

#include <algorithm>
#include <cmath>

namespace wowfix {

namespace {

constexpr SettingRows<PrecisePilotSettings::paramCount> kRows = {{
    {"Pilot frequency", "Hz", 0.0f},
    {"Bandwidth", "Hz", 0.38889f},
    {"Curve bandwidth", "Hz", 0.31579f},
    {"Dropout level", "dB", 0.58824f},
}};

double setting(int index, float value)
{
    const double v = std::clamp(static_cast<double>(value), 0.0, 1.0);
    switch (index) {
        case 0: return 50.0 * roundHalfAway(1000.0 * v);
        case 1: return roundHalfAway(100.0 + 900.0 * v);
        case 2: return roundHalfAway(10.0 + 190.0 * v);
        case 3: return roundHalfAway(-40.0 + 34.0 * v);
        default: return 0.0;
    }
}

}  // namespace

PrecisePilotSettings PrecisePilotSettings::fromNormalised(const float (&v)[paramCount])
{
    PrecisePilotSettings s;
    s.pilotFrequency = setting(0, v[0]);
    s.halfBandwidth = setting(1, v[1]);
    s.curveBandwidth = setting(2, v[2]);
    s.dropoutDb = setting(3, v[3]);
    return s;
}

float PrecisePilotSettings::defaultValue(int index) { return kRows.defaultValue(index); }
const char* PrecisePilotSettings::name(int index) { return kRows.name(index); }
const char* PrecisePilotSettings::label(int index) { return kRows.label(index); }
float PrecisePilotSettings::displayValue(int index, float v) { return static_cast<float>(setting(index, v)); }

}  // namespace wowfix
