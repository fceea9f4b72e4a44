#include "extlib/hum/HumParameters.h"

#include <algorithm>
#include <cmath>

namespace wowfix::hum {

namespace {

struct Description {
    const char* name;
    const char* label;
    float defaultValue;
};

constexpr Description kDescriptions[kHumParameterCount] = {
    {"Level Floor", "dB", 0.25f},          // -90 dB
    {"Anti-Alias Cutoff", "Hz", 0.25f},    // 250 Hz: passes every nominal choice
    {"Decimated Rate", "Hz", 0.75f},       // 750 Hz
    {"Band Lower Bound", "Hz", 0.225f},    // 45 Hz
    {"Band Upper Bound", "Hz", 0.275f},    // 55 Hz
    {"Smoothing Length", "smpl", 0.04f},   // 40 samples
    {"Median Length", "smpl", 0.005f},     // 5 samples
    {"Difference Lag", "smpl", 0.01f},     // 10 samples
    {"Demodulator Order", "order", 0.34f}, // 4
    {"Demodulator Cutoff", "Hz", 0.075f},  // 1.5 Hz
    {"Nominal Frequency", "Hz", 0.257f},   // 50 Hz
    {"Ratio Limit", "%", 0.25f},           // 5 %
};

constexpr float kNominalChoices[] = {50.0f, 60.0f, 100.0f, 120.0f, 150.0f, 180.0f};

float samples(float value) { return std::max(1.0f, std::round(value * 1000.0f)); }

}  // namespace

HumParameters::HumParameters() {
    for (int i = 0; i < kHumParameterCount; ++i) values_[static_cast<std::size_t>(i)] = kDescriptions[i].defaultValue;
}

void HumParameters::setValue(int index, float value) {
    if (!isIndex(index) || std::isnan(value)) return;
    values_[static_cast<std::size_t>(index)] = std::clamp(value, 0.0f, 1.0f);
}

float HumParameters::nominalOf(float value) {
    const float wanted = value * 200.0f;
    float best = kNominalChoices[0];
    for (float choice : kNominalChoices)
        if (std::fabs(choice - wanted) < std::fabs(best - wanted)) best = choice;
    return best;
}

float HumParameters::display(int index) const {
    const float v = value(index);
    switch (index) {
        case kLevelFloor: return -120.0f + 120.0f * v;
        case kAntiAliasCutoff: return std::max(1.0f, 1000.0f * v);
        case kDecimatedRate: return std::max(10.0f, 1000.0f * v);
        case kBandLower:
        case kBandUpper: return 200.0f * v;
        case kSmoothingLength:
        case kMedianLength:
        case kDifferenceLag: return samples(v);
        case kDemodulatorOrder: return 2.0f + 2.0f * std::round(v * 3.0f);
        case kDemodulatorCutoff: return std::max(0.5f, 20.0f * v);
        case kNominalFrequency: return nominalOf(v);
        case kRatioLimit: return std::max(0.1f, 20.0f * v);
        default: return 0.0f;
    }
}

const char* HumParameters::name(int index) { return isIndex(index) ? kDescriptions[index].name : ""; }
const char* HumParameters::label(int index) { return isIndex(index) ? kDescriptions[index].label : ""; }

}  // namespace wowfix::hum
