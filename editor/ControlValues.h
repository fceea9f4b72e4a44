#pragma once
// Small writes and reads of the editor's controls, shared by its command
// files: a caption, and the position of a parameter bar.

#include "editor/win32/Win32.h"

#include <string>

namespace wowfix {

// Sets the control's caption; nothing for a missing control.
void setText(HWND window, const std::string& text);
// The bar's position, and the bar moved to the position of a 0 ... 1 value.
int barPositionOf(HWND bar);
void setBar(HWND bar, float value);

}  // namespace wowfix
