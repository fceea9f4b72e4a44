#include "editor/win32/PointerInput.h"

#include <algorithm>
#include <cstdlib>

namespace wowfix::pointer_input {

namespace {

bool usable(HWND w) { return w != nullptr && IsWindow(w) && IsWindowVisible(w) && IsWindowEnabled(w); }

LPARAM point(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

}  // namespace

bool drag(HWND target, int x1, int y1, int x2, int y2) {
    if (!usable(target)) return false;
    SendMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, point(x1, y1));
    const int steps = std::max(1, std::max(std::abs(x2 - x1), std::abs(y2 - y1)));
    for (int i = 1; i <= steps; ++i)
        SendMessageA(target, WM_MOUSEMOVE, MK_LBUTTON,
                     point(x1 + (x2 - x1) * i / steps, y1 + (y2 - y1) * i / steps));
    SendMessageA(target, WM_LBUTTONUP, 0, point(x2, y2));
    return true;
}

bool rightClick(HWND target, int x, int y) {
    if (!usable(target)) return false;
    SendMessageA(target, WM_RBUTTONDOWN, MK_RBUTTON, point(x, y));
    SendMessageA(target, WM_RBUTTONUP, 0, point(x, y));
    return true;
}

bool scrollBarClick(HWND window, HWND bar, bool vertical, int request) {
    if (request < SB_LINEUP || request > SB_PAGEDOWN) return false;
    const UINT message = vertical ? WM_VSCROLL : WM_HSCROLL;
    SendMessageA(window, message, MAKEWPARAM(static_cast<WORD>(request), 0), reinterpret_cast<LPARAM>(bar));
    SendMessageA(window, message, MAKEWPARAM(SB_ENDSCROLL, 0), reinterpret_cast<LPARAM>(bar));
    return true;
}

}  // namespace wowfix::pointer_input
