#include "detectors/PrecisePilotSettings.h"

#include <algorithm>
#include <cmath>

namespace wowfix {

namespace {

struct Row {
    const char* name;
    const char* label;
    float defaultValue;
};

constexpr Row kRows[PrecisePilotSettings::paramCount] = {
    {"Pilot frequency", "Hz", 0.0f},
    {"Bandwidth", "Hz", 0.38889f},
    {"Curve bandwidth", "Hz", 0.31579f},
    {"Dropout level", "dB", 0.58824f},
};

double roundHalfUp(double x) { return std::trunc(x + (x < 0.0 ? -0.5 : 0.5)); }

double setting(int index, float value)
{
    const double v = std::clamp(static_cast<double>(value), 0.0, 1.0);
    switch (index) {
        case 0: return 50.0 * roundHalfUp(1000.0 * v);
        case 1: return roundHalfUp(100.0 + 900.0 * v);
        case 2: return roundHalfUp(10.0 + 190.0 * v);
        case 3: return roundHalfUp(-40.0 + 34.0 * v);
        default: return 0.0;
    }
}

bool known(int index) { return index >= 0 && index < PrecisePilotSettings::paramCount; }

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

float PrecisePilotSettings::defaultValue(int index) { return known(index) ? kRows[index].defaultValue : 0.0f; }
const char* PrecisePilotSettings::name(int index) { return known(index) ? kRows[index].name : ""; }
const char* PrecisePilotSettings::label(int index) { return known(index) ? kRows[index].label : ""; }
float PrecisePilotSettings::displayValue(int index, float v) { return static_cast<float>(setting(index, v)); }

}  // namespace wowfix
