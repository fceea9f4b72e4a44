#pragma once
// What a real window shows on the screen, read back through its device
// context: the editor's pictures for scripted hosts and the Windows checks
// use the same copy.

#include "editor/win32/Win32.h"

#include <cstdint>

namespace wowfix::window_pixels {

// The size of `window`'s client area; false when it cannot be read or is
// empty.
bool clientSize(HWND window, int& width, int& height);
// Copies the top left `width` x `height` pixels of `window`'s client area as
// they are on the screen into `pixels` (room for width * height) as
// 0x00RRGGBB, rows top to bottom. False when the copy fails.
bool read(HWND window, int width, int height, std::uint32_t* pixels);

}  // namespace wowfix::window_pixels
