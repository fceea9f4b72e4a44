#include "editor/view/ViewLabels.h"

#include <cmath>
#include <cstdio>

namespace wowfix {

std::string timeLabel(double sample, double sampleRate) {
    double t = sampleRate > 0.0 ? sample / sampleRate : 0.0;
    // Beyond a million minutes the label would not fit its field.
    if (!std::isfinite(t) || t < 0.0 || t > 6.0e7) t = 0.0;
    const double minutes = std::floor(t / 60.0);
    const double seconds = std::floor((t - 60.0 * minutes) * 1000.0) / 1000.0;
    char text[20];
    std::snprintf(text, sizeof text, seconds < 10.0 ? "%d:0%.3f" : "%d:%.3f", static_cast<int>(minutes), seconds);
    return text;
}

std::string frequencyLabel(double hertz) {
    if (!std::isfinite(hertz) || std::fabs(hertz) > 1.0e9) hertz = 0.0;
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(hertz));
    return text;
}

}  // namespace wowfix
