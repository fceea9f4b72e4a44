#pragma once
// A user's input on the system's real windows, given as the messages the
// window procedures receive from a click, a drag or a key, for scripted
// hosts on Windows (the software layer has its own in SoftInput.h). The
// messages are sent, so each action has been handled when its call returns.

#include "editor/win32/PointerInput.h"
#include "editor/win32/Win32.h"

namespace wowfix::win32_input {

// A click on child control `id` of `window`: a button is clicked (a check box
// or radio button changes its state as under a click, then the parent is told
// with BN_CLICKED), a drop-down list gets `item` chosen (the parent is told
// with CBN_SELCHANGE), another control gets the left button pressed and
// released in its middle. False when there is no such control, it is hidden
// or disabled, or the item does not exist.
bool clickControl(HWND window, int id, int item = -1);
// The pointer's drag and right click, shared with the other window layer.
using pointer_input::drag;
using pointer_input::rightClick;
// Turns the wheel over (x, y) of `target` by `delta` (a multiple of
// WHEEL_DELTA).
bool wheel(HWND target, int delta, int x, int y);
// Presses and releases virtual key `virtualKey`.
bool key(HWND target, int virtualKey);
// Paints at once what is waiting to be painted in `window` and its children.
void deliverPaint(HWND window);

}  // namespace wowfix::win32_input
