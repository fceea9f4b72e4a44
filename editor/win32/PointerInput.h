#pragma once
// The pointer's part of a scripted user: a drag and a right click on a window,
// sent as the button and move messages its procedure receives. Written in the
// layer's calls only, so the software layer and the system's real windows
// share it (SoftInput.h and Win32Input.h offer it with their other input).

#include "editor/win32/Win32.h"

namespace wowfix::pointer_input {

// Presses the left button at (x1, y1) of `target`, moves it in steps to
// (x2, y2) and releases it there. False when `target` is not a visible,
// enabled window.
bool drag(HWND target, int x1, int y1, int x2, int y2);
// Right-button click at (x, y); false as for drag.
bool rightClick(HWND target, int x, int y);
// A click on scroll bar `bar` of `window`: on an arrow (SB_LINEUP, SB_LINEDOWN)
// or beside the thumb (SB_PAGEUP, SB_PAGEDOWN; left and right on a
// horizontal bar), told to the window as the bar tells it, the request and
// then SB_ENDSCROLL at the release. False for any other request.
bool scrollBarClick(HWND window, HWND bar, bool vertical, int request);

}  // namespace wowfix::pointer_input
