#pragma once

#include <cstdint>

namespace wowfix {

// One point of the pitch-variation curve: a sample position within the
// selection, the speed ratio there, and the pixel the layout gave it in the
// spectrogram panel (x is 1-based; both stay 0 until a layout runs).
struct PvcPoint {
    std::int32_t position = 0;
    float value = 0.0f;
    std::int32_t x = 0;
    std::int32_t y = 0;
};

}  // namespace wowfix
