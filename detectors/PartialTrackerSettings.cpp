#include "detectors/PartialTrackerSettings.h"

#include "detectors/SettingRows.h"

#include <algorithm>
#include <cmath>

namespace wowfix {

namespace {

constexpr SettingRows<PartialTrackerSettings::paramCount> kRows = {{
    {"FFT Length", "smpl", 0.66667f},
    {"Lowest frequency", "Hz", 0.030303f},
    {"Highest frequency", "Hz", 0.230769f},
    {"Curve bandwidth", "Hz", 0.387755f},
}};

double setting(int index, float value)
{
    const double v = std::clamp(static_cast<double>(value), 0.0, 1.0);
    switch (index) {
        case 0: return std::ldexp(1.0, static_cast<int>(roundHalfAway(10.0 + 3.0 * v)));
        case 1: return roundHalfAway(20.0 + 1980.0 * v);
        case 2: return roundHalfAway(500.0 + 19500.0 * v);
        case 3: return roundHalfAway(1.0 + 49.0 * v);
        default: return 0.0;
    }
}

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

float PartialTrackerSettings::defaultValue(int index) { return kRows.defaultValue(index); }
const char* PartialTrackerSettings::name(int index) { return kRows.name(index); }
const char* PartialTrackerSettings::label(int index) { return kRows.label(index); }
float PartialTrackerSettings::displayValue(int index, float v) { return static_cast<float>(setting(index, v)); }

}  // namespace wowfix
