#include "editor/ParameterText.h"

#include "detectors/PvcDetector.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace wowfix {

std::string parameterValueText(const char* format, double value) {
    char text[32];
    if (!std::isfinite(value) || std::fabs(value) > 1e15) return "-";
    const int n = std::snprintf(text, sizeof text, format, value);
    if (n < 0 || n >= static_cast<int>(sizeof text)) return "-";
    return text;
}

std::string parameterCaption(const std::string& name, const std::string& label) {
    return name.substr(0, 98) + "\n[" + label.substr(0, 18) + "]";
}

std::string detectorCaption(const PvcDetector& detector, int index) {
    char name[100] = {};
    char label[20] = {};
    std::memset(name, 1, 98);
    std::memset(label, 1, 18);
    detector.getParameterName(index, name);
    detector.getParameterLabel(index, label);
    // A detector that copied nothing leaves the filler bytes: no text then.
    const auto text = [](const char* s, size_t size) {
        const size_t n = strnlen(s, size);
        return std::all_of(s, s + n, [](char c) { return c == 1; }) ? std::string() : std::string(s, n);
    };
    return parameterCaption(text(name, sizeof name), text(label, sizeof label));
}

float barValue(int position) {
    const int p = std::clamp(position, 0, kBarMaximum);
    return static_cast<float>(kBarMaximum - p) / static_cast<float>(kBarMaximum);
}

int barPosition(float value) {
    if (!(value == value)) value = 0.0f;
    value = std::clamp(value, 0.0f, 1.0f);
    return static_cast<int>(std::trunc(kBarMaximum - value * kBarMaximum));
}

}  // namespace wowfix
