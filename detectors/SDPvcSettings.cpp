#include "detectors/SDPvcSettings.h"

#include <cmath>

namespace wowfix {

namespace {

int roundHalfUp(double x) { return static_cast<int>(std::floor(x + 0.5)); }

double clampUnit(float v) {
    if (!(v >= 0.0f)) return 0.0;  // also NaN
    return v > 1.0f ? 1.0 : static_cast<double>(v);
}

int frameLengthFor(double v) {
    const double lowest = std::log(256.0) / std::log(2.0);
    const double highest = std::log(4096.0) / std::log(2.0);
    return 1 << roundHalfUp(lowest + v * (highest - lowest));
}

const char* const kNames[SDPvcSettings::paramCount] = {"FFT Length", "Overlap", "Confidence"};
const char* const kLabels[SDPvcSettings::paramCount] = {"smpl", "%", "%"};
const float kDefaults[SDPvcSettings::paramCount] = {0.25f, 0.6f, 0.0f};

bool isIndex(int index) { return index >= 0 && index < SDPvcSettings::paramCount; }

}  // namespace

SDPvcSettings SDPvcSettings::fromNormalised(const float (&v)[paramCount]) {
    SDPvcSettings s;
    s.frameLength = frameLengthFor(clampUnit(v[0]));
    s.overlapSamples = roundHalfUp(s.frameLength * clampUnit(v[1]) * maxOverlapFraction);
    s.confidence = static_cast<float>(clampUnit(v[2]));
    return s;
}

float SDPvcSettings::defaultValue(int index) { return isIndex(index) ? kDefaults[index] : 0.0f; }
const char* SDPvcSettings::name(int index) { return isIndex(index) ? kNames[index] : ""; }
const char* SDPvcSettings::label(int index) { return isIndex(index) ? kLabels[index] : ""; }

float SDPvcSettings::displayValue(int index, float v) {
    const double u = clampUnit(v);
    switch (index) {
        case 0: return static_cast<float>(frameLengthFor(u));
        case 1: return static_cast<float>(roundHalfUp(u * 100.0 * maxOverlapFraction));
        case 2: return static_cast<float>(u);
        default: return 0.0f;
    }
}

}  // namespace wowfix
