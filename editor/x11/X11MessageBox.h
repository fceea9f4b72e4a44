#pragma once

#include "editor/win32/SoftWin32.h"

namespace wowfix {

// The layer's message box on an X11 display: the caption as the window's
// title, the text, and the buttons of `type`. Return presses the first
// button, Escape or closing the window answers Cancel, No or OK as a system
// box does; a click presses the button under it. Runs its own event loop
// until answered. IDOK without a display.
int runX11MessageBox(const char* caption, const char* text, UINT type);

}  // namespace wowfix
