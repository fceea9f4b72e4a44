#include "editor/Palette.h"

#include <cmath>

namespace wowfix {

namespace {

// (255 - 75) / 25 colour steps per level within each quarter.
int ramp(int steps) { return static_cast<int>(steps * 7.2 + 0.5); }

COLORREF levelColour(int level) {
    if (level < 25) return RGB(75, 255 - ramp(25 - level), 255);
    if (level < 50) return RGB(75, 255, 75 + ramp(50 - level));
    if (level < 75) return RGB(255 - ramp(75 - level), 255, 75);
    if (level < 100) return RGB(255, 75 + ramp(100 - level), 75);
    return RGB(255, 75, 75);
}

}  // namespace

Palette::Palette() : colours_(new COLORREF[kLevels]) {
    for (int level = 0; level < kLevels; ++level) colours_[level] = levelColour(level);
}

COLORREF Palette::colour(int index) const {
    if (index < 0) index = 0;
    if (index >= kLevels) index = kLevels - 1;
    return colours_[index];
}

int Palette::indexOfLevel(float level) {
    if (!(level > 0.0f)) return 0;  // NaN too
    if (level >= static_cast<float>(kLevels - 1)) return kLevels - 1;
    return static_cast<int>(level);
}

COLORREF Palette::colourOfLevel(float level) const { return colours_[indexOfLevel(level)]; }

}  // namespace wowfix
