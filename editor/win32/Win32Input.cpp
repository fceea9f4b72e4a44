// Scripted input on the system's real windows.

#include "editor/win32/Win32Input.h"

#include <cstring>

namespace wowfix::win32_input {

namespace {

bool usable(HWND w) { return w != nullptr && IsWindow(w) && IsWindowVisible(w) && IsWindowEnabled(w); }

LPARAM point(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

LONG styleOf(HWND w) { return GetWindowLongA(w, GWL_STYLE); }

bool isClass(HWND w, const char* name) {
    char buffer[32] = {};
    if (GetClassNameA(w, buffer, static_cast<int>(sizeof buffer)) == 0) return false;
    return _stricmp(buffer, name) == 0;
}

bool isAutoRadio(HWND w) { return isClass(w, "Button") && (styleOf(w) & BS_TYPEMASK) == BS_AUTORADIOBUTTON; }

// Checks `button` and clears the other automatic radio buttons of its group:
// the siblings from the nearest one with WS_GROUP before it (or itself) up
// to the next one with WS_GROUP, as a click on it does.
void checkRadio(HWND button) {
    HWND first = button;
    while ((styleOf(first) & WS_GROUP) == 0) {
        HWND previous = GetWindow(first, GW_HWNDPREV);
        if (previous == nullptr) break;
        first = previous;
    }
    for (HWND sibling = first; sibling != nullptr; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        if (sibling != first && (styleOf(sibling) & WS_GROUP) != 0) break;
        if (sibling != button && isAutoRadio(sibling)) SendMessageA(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    SendMessageA(button, BM_SETCHECK, BST_CHECKED, 0);
}

// A click on a button: the state a click gives it, then the parent's
// notification. The button's own press (focus, capture, the pushed look) is
// left out, so that the click does not depend on where the real pointer is.
void clickButton(HWND window, int id, HWND button) {
    const LRESULT state = SendMessageA(button, BM_GETCHECK, 0, 0);
    switch (styleOf(button) & BS_TYPEMASK) {
        case BS_AUTOCHECKBOX:
            SendMessageA(button, BM_SETCHECK, state == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
            break;
        case BS_AUTO3STATE:
            SendMessageA(button, BM_SETCHECK,
                         state == BST_UNCHECKED ? BST_CHECKED : state == BST_CHECKED ? BST_INDETERMINATE : BST_UNCHECKED,
                         0);
            break;
        case BS_AUTORADIOBUTTON: checkRadio(button); break;
        default: break;
    }
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

}  // namespace

bool clickControl(HWND window, int id, int item) {
    HWND control = GetDlgItem(window, id);
    if (!usable(control)) return false;
    if (isClass(control, "ComboBox")) {
        const LRESULT count = SendMessageA(control, CB_GETCOUNT, 0, 0);
        if (item < 0 || item >= count) return false;
        SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(control));
        return true;
    }
    // A click beside the thumb or on an arrow (item: the scroll request).
    if (isClass(control, "ScrollBar") && item >= 0)
        return pointer_input::scrollBarClick(window, control, (styleOf(control) & SBS_VERT) != 0, item);
    if (item >= 0) return false;
    if (isClass(control, "Button")) {
        clickButton(window, id, control);
        return true;
    }
    // A press on a scroll bar would start the system's tracking loop, which
    // waits for the real button to be released; a click in its middle, on
    // the thumb, moves nothing on the software layer either.
    if (isClass(control, "ScrollBar")) return true;
    RECT client{};
    GetClientRect(control, &client);
    const LPARAM middle = point(client.right / 2, client.bottom / 2);
    SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    SendMessageA(control, WM_LBUTTONUP, 0, middle);
    return true;
}

bool wheel(HWND target, int delta, int x, int y) {
    if (!usable(target)) return false;
    // The wheel's position is on the screen.
    POINT at{x, y};
    ClientToScreen(target, &at);
    SendMessageA(target, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))),
                 point(at.x, at.y));
    return true;
}

bool key(HWND target, int virtualKey) {
    if (!usable(target)) return false;
    // One press: repeat count 1 and the key's scan code; the release also
    // has the previous-state and transition bits.
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC) & 0xFF) << 16;
    SendMessageA(target, WM_KEYDOWN, static_cast<WPARAM>(virtualKey), 1 | scan);
    SendMessageA(target, WM_KEYUP, static_cast<WPARAM>(virtualKey),
                 static_cast<LPARAM>(1 | scan | (static_cast<LPARAM>(3) << 30)));
    return true;
}

void deliverPaint(HWND window) {
    if (IsWindow(window)) RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

}  // namespace wowfix::win32_input
