#include "detectors/ToneTrackerSettings.h"

#include <cmath>

namespace wowfix {

namespace {

// round(x) as the settings use it: truncation of x + 0.5 toward zero.
int roundHalfUp(double x)
{
    return static_cast<int>(x + 0.5);
}

double clampUnit(float v)
{
    if (!(v >= 0.0f))  // also catches NaN
        return 0.0;
    return v > 1.0f ? 1.0 : static_cast<double>(v);
}

int fftLengthFor(double v)
{
    const double lowest = std::log(512.0) / std::log(2.0);
    const double highest = std::log(8192.0) / std::log(2.0);
    return 1 << roundHalfUp(lowest + v * (highest - lowest));
}

const char* const kNames[ToneTrackerSettings::paramCount] = {
    "FFT Length", "Overlap", "Preemphasis", "Time smooth", "Freq smooth", "Bottom margin",
};
const char* const kLabels[ToneTrackerSettings::paramCount] = {"smpl", "%", "ratio", "order", "order", "%"};
const float kDefaults[ToneTrackerSettings::paramCount] = {0.18f, 1.0f, 0.5f, 0.1f, 0.3f, 0.68f};

bool isIndex(int index)
{
    return index >= 0 && index < ToneTrackerSettings::paramCount;
}

}  // namespace

ToneTrackerSettings ToneTrackerSettings::fromNormalised(const float (&v)[paramCount])
{
    ToneTrackerSettings s;
    s.fftLength = fftLengthFor(clampUnit(v[0]));
    s.overlapSamples = roundHalfUp(s.fftLength * clampUnit(v[1]) * maxOverlapFraction);
    s.preemphasis = roundHalfUp(4.0 * clampUnit(v[2]) + 1.0);
    s.timeSmooth = roundHalfUp(15.0 * clampUnit(v[3]) + 1.0);
    s.freqSmooth = roundHalfUp(7.0 * clampUnit(v[4]) + 1.0);
    s.marginPercent = roundHalfUp(50.0 * clampUnit(v[5]) + 50.0);
    return s;
}

float ToneTrackerSettings::defaultValue(int index)
{
    return isIndex(index) ? kDefaults[index] : 0.0f;
}

const char* ToneTrackerSettings::name(int index)
{
    return isIndex(index) ? kNames[index] : "";
}

const char* ToneTrackerSettings::label(int index)
{
    return isIndex(index) ? kLabels[index] : "";
}

float ToneTrackerSettings::displayValue(int index, float v)
{
    if (!isIndex(index))
        return 0.0f;
    float values[paramCount];
    for (float& value : values)
        value = v;
    const ToneTrackerSettings s = fromNormalised(values);
    switch (index) {
    case 0:
        return static_cast<float>(s.fftLength);
    case 1:
        return static_cast<float>(clampUnit(v) * maxOverlapFraction * 100.0);
    case 2:
        return static_cast<float>(s.preemphasis);
    case 3:
        return static_cast<float>(s.timeSmooth);
    case 4:
        return static_cast<float>(s.freqSmooth);
    default:
        return static_cast<float>(s.marginPercent);
    }
}

}  // namespace wowfix
