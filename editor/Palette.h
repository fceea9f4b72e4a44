#pragma once

#include "editor/win32/Win32.h"

#include <memory>

namespace wowfix {

// The spectrogram's colours for the display levels 0 ... 100: from blue
// through cyan, green and yellow to red.
class Palette {
public:
    static constexpr int kLevels = 101;

    Palette();
    Palette(const Palette&) = delete;
    Palette& operator=(const Palette&) = delete;

    // The colour of level `index`; below 0 the colour of 0, above 100 that
    // of 100.
    COLORREF colour(int index) const;
    // The colour of a display level: truncated, clamped to 0 ... 100, and
    // NaN shown as 0.
    COLORREF colourOfLevel(float level) const;
    static int indexOfLevel(float level);

private:
    std::unique_ptr<COLORREF[]> colours_;
};

}  // namespace wowfix
