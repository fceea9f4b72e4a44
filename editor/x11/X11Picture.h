#pragma once

#include "editor/win32/SoftObjects.h"

#include <X11/Xlib.h>

#include <cstdint>
#include <vector>

namespace wowfix {

// Puts `width` x `height` pixels of 0x00RRGGBB on window `window` at (0, 0).
void putPixels(Display* display, Window window, GC gc, std::uint32_t* pixels, int width, int height);
// A raster of the layer in the pixel format putPixels takes.
void toXPixels(const SoftRaster& raster, std::vector<std::uint32_t>& pixels);

}  // namespace wowfix
