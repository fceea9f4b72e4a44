#include "detectors/PartialTrackerSettings.h"

#include <algorithm>
#include <cmath>

namespace wowfix {

namespace {

struct Row {
    const char* name;
    const char* label;
    float defaultValue;
};

constexpr Row kRows[PartialTrackerSettings::paramCount] = {
    {"FFT Length", "smpl", 0.66667f},
    {"Lowest frequency", "Hz", 0.030303f},
    {"Highest frequency", "Hz", 0.230769f},
    {"Curve bandwidth", "Hz", 0.387755f},
};

double roundHalfUp(double x) { return std::trunc(x + 0.5); }

double setting(int index, float value)
{
    const double v = std::clamp(static_cast<double>(value), 0.0, 1.0);
    switch (index) {
        case 0: return std::ldexp(1.0, static_cast<int>(roundHalfUp(10.0 + 3.0 * v)));
        case 1: return roundHalfUp(20.0 + 1980.0 * v);
        case 2: return roundHalfUp(500.0 + 19500.0 * v);
        case 3: return roundHalfUp(1.0 + 49.0 * v);
        default: return 0.0;
    }
}

bool known(int index) { return index >= 0 && index < PartialTrackerSettings::paramCount; }

}  // namespace

PartialTrackerSettings PartialTrackerSettings::fromNormalised(const float (&v)[paramCount])
{
    PartialTrackerSettings s;
    s.fftLength = static_cast<int>(setting(0, v[0]));
    s.lowest = setting(1, v[1]);
    s.highest = setting(2, v[2]);
    s.curveBandwidth = setting(3, v[3]);
    return s;
}

float PartialTrackerSettings::defaultValue(int index) { return known(index) ? kRows[index].defaultValue : 0.0f; }
const char* PartialTrackerSettings::name(int index) { return known(index) ? kRows[index].name : ""; }
const char* PartialTrackerSettings::label(int index) { return known(index) ? kRows[index].label : ""; }
float PartialTrackerSettings::displayValue(int index, float v) { return static_cast<float>(setting(index, v)); }

}  // namespace wowfix
