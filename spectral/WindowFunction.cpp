#include "spectral/WindowFunction.h"

#include <cmath>

namespace wowfix {

int effectiveWindowType(int requested) {
    if (requested < kBoxcarWindow || requested > kMaxWindowType) return kHannWindow;
    return requested;
}

float windowCoefficient(int type, int i, int n) {
    if (n < 2 || i < 0 || i >= n) return 0.0f;
    const double pi = 4.0 * std::atan(1.0);
    const double t = static_cast<double>(static_cast<float>(i));
    const double span = static_cast<double>(n - 1);
    float sum = 0.0f;
    switch (effectiveWindowType(type)) {
        case kBoxcarWindow:
            return 1.0f / static_cast<float>(n / 2);
        case kBlackmanWindow:
            sum = static_cast<float>(0.42 - 0.5 * std::cos(2.0 * pi * t / span) + 0.08 * std::cos(4.0 * pi * t / span));
            break;
        case kHammingWindow:
            sum = static_cast<float>(0.54 - 0.46 * std::cos(2.0 * pi * t / span));
            break;
        default:
            sum = static_cast<float>(0.5 * (1.0 - std::cos(2.0 * pi * t / span)));
            break;
    }
    return sum / static_cast<float>(n);
}

bool fillWindow(int type, float* table, int n) {
    if (table == nullptr || n < 2) return false;
    for (int i = 0; i < n; ++i) table[i] = windowCoefficient(type, i, n);
    return true;
}

}  // namespace wowfix
