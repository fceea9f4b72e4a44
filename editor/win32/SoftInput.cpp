// Synthetic input and pictures of windows for the software layer.

#include "editor/win32/SoftInput.h"
#include "editor/win32/SoftObjects.h"

#include <algorithm>

namespace wowfix::soft {

namespace {

bool usable(HWND w) { return IsWindow(w) && IsWindowVisible(w) && IsWindowEnabled(w); }

LPARAM point(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

void copyRaster(const SoftRaster& from, SoftRaster& to, int x, int y) {
    for (int row = 0; row < from.height; ++row)
        for (int col = 0; col < from.width; ++col) to.set(x + col, y + row, from.at(col, row));
}

void toPicture(const SoftRaster& r, Picture& picture) {
    picture.width = r.width;
    picture.height = r.height;
    picture.pixels.resize(r.pixels.size());
    for (size_t i = 0; i < r.pixels.size(); ++i) {
        const COLORREF c = r.pixels[i];
        picture.pixels[i] = static_cast<std::uint32_t>(GetRValue(c)) << 16 |
                            static_cast<std::uint32_t>(GetGValue(c)) << 8 | GetBValue(c);
    }
}

void drawChildren(const SoftWindow& window, SoftRaster& target, int dx, int dy) {
    for (HWND child : window.children) {
        if ((child->style & WS_VISIBLE) == 0) continue;
        if (child->kind == SoftControlKind::Static && (child->style & SS_TYPEMASK) == SS_OWNERDRAW) {
            if (child->surface.width == child->width && child->surface.height == child->height)
                copyRaster(child->surface, target, dx + child->x, dy + child->y);
        } else if (child->kind == SoftControlKind::Window) {
            if (child->background != nullptr)
                for (int yy = 0; yy < child->height; ++yy)
                    for (int xx = 0; xx < child->width; ++xx)
                        target.set(dx + child->x + xx, dy + child->y + yy, child->background->colour);
            drawChildren(*child, target, dx + child->x, dy + child->y);
            continue;
        } else {
            drawControlLook(*child, target, dx, dy);
        }
        drawChildren(*child, target, dx + child->x, dy + child->y);
    }
    // A dropped list lies over whatever was created after it.
    for (HWND child : window.children)
        if ((child->style & WS_VISIBLE) != 0) drawDroppedList(*child, target, dx, dy);
}

}  // namespace

HWND controlAt(HWND window, int x, int y, int& localX, int& localY) {
    const auto holds = [x, y](HWND c, int height) {
        return x >= c->x && x < c->x + c->width && y >= c->y && y < c->y + height;
    };
    for (HWND c : window->children) {
        if ((c->style & WS_VISIBLE) == 0 || !c->dropped) continue;
        const RECT list = droppedListBox(*c);
        if (holds(c, kComboLineHeight) || (x >= list.left && x < list.right && y >= list.top && y < list.bottom)) {
            localX = x - c->x;
            localY = y - c->y;
            return c;
        }
    }
    for (auto it = window->children.rbegin(); it != window->children.rend(); ++it) {
        HWND c = *it;
        if ((c->style & WS_VISIBLE) == 0) continue;
        const int height = c->kind == SoftControlKind::ComboBox ? std::min(c->height, kComboLineHeight) : c->height;
        if (holds(c, height)) {
            localX = x - c->x;
            localY = y - c->y;
            return c;
        }
    }
    localX = x;
    localY = y;
    return window;
}

bool closeDroppedLists(HWND window) {
    bool closed = false;
    for (HWND c : window->children)
        if (c->dropped) {
            c->dropped = false;
            closed = true;
        }
    return closed;
}

void pressDropDown(HWND combo, int localX, int localY) {
    if (!IsWindow(combo) || combo->kind != SoftControlKind::ComboBox) return;
    if (!combo->dropped) {
        combo->dropped = !combo->items.empty();
        return;
    }
    combo->dropped = false;
    const RECT list = droppedListBox(*combo);
    const int y = combo->y + localY;
    if (localX < 0 || localX >= combo->width || y <= list.top || y >= list.bottom - 1) return;
    const int row = (y - list.top - 1) / kTextHeight;
    if (row >= static_cast<int>(combo->items.size())) return;
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
    if (combo->parent != nullptr)
        SendMessageA(combo->parent, WM_COMMAND, MAKEWPARAM(combo->id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

bool clickControl(HWND window, int id, int item) {
    HWND control = GetDlgItem(window, id);
    if (!usable(control)) return false;
    if (control->kind == SoftControlKind::ComboBox) {
        if (item < 0 || item >= static_cast<int>(control->items.size())) return false;
        SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(control));
        return true;
    }
    // A click beside the thumb or on an arrow (item: the scroll request).
    if (control->kind == SoftControlKind::ScrollBar && item >= 0)
        return pointer_input::scrollBarClick(window, control, (control->style & SBS_VERT) != 0, item);
    if (item >= 0) return false;
    const LPARAM middle = point(control->width / 2, control->height / 2);
    SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    SendMessageA(control, WM_LBUTTONUP, 0, middle);
    return true;
}

bool wheel(HWND target, int delta, int x, int y) {
    if (!usable(target)) return false;
    SendMessageA(target, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))), point(x, y));
    return true;
}

bool key(HWND target, int virtualKey) {
    if (!usable(target)) return false;
    SendMessageA(target, WM_KEYDOWN, static_cast<WPARAM>(virtualKey), 0);
    SendMessageA(target, WM_KEYUP, static_cast<WPARAM>(virtualKey), 0);
    return true;
}

void deliverPaint(HWND window) {
    if (!IsWindow(window)) return;
    if (window->invalid) SendMessageA(window, WM_PAINT, 0, 0);
    // The list can change while painting; walk a copy.
    const std::vector<HWND> children = window->children;
    for (HWND child : children) deliverPaint(child);
}

bool takePicture(HWND window, Picture& picture) {
    if (!IsWindow(window)) return false;
    deliverPaint(window);
    SoftRaster r;
    r.resize(window->width, window->height,
             window->background != nullptr ? window->background->colour : kButtonFace);
    drawChildren(*window, r, 0, 0);
    toPicture(r, picture);
    return true;
}

bool takeSurface(HWND window, Picture& picture) {
    if (!IsWindow(window) || window->surface.width != window->width || window->surface.height != window->height)
        return false;
    toPicture(window->surface, picture);
    return true;
}

}  // namespace wowfix::soft
