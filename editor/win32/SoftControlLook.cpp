// How the software layer shows its controls in a screenshot. Only the places
// and sizes are fixed; the look is the layer's own, plain and flat.

#include "editor/win32/SoftObjects.h"

#include <algorithm>

namespace wowfix::soft {

namespace {

constexpr COLORREF kShadow = RGB(128, 128, 128);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kHighlight = RGB(10, 36, 106);

void fill(SoftRaster& r, int x, int y, int w, int h, COLORREF c) {
    for (int yy = y; yy < y + h; ++yy)
        for (int xx = x; xx < x + w; ++xx) r.set(xx, yy, c);
}

void frame(SoftRaster& r, int x, int y, int w, int h, COLORREF c) {
    for (int xx = x; xx < x + w; ++xx) {
        r.set(xx, y, c);
        r.set(xx, y + h - 1, c);
    }
    for (int yy = y; yy < y + h; ++yy) {
        r.set(x, yy, c);
        r.set(x + w - 1, yy, c);
    }
}

// Text inside the box, aligned 0 left, 1 centre, 2 right, vertically centred
// and cut at the box.
void boxText(SoftRaster& r, const RECT& box, const std::string& text, int align, COLORREF c) {
    const int length = static_cast<int>(std::min<size_t>(text.size(), 400));
    const int width = textWidth(length);
    int x = box.left;
    if (align == 1) x = box.left + (box.right - box.left - width) / 2;
    if (align == 2) x = box.right - width;
    const int y = box.top + (box.bottom - box.top - kTextHeight) / 2;
    drawText(r, x, y, text.c_str(), length, c, &box);
}

// A static's text: one line centred vertically in the box, several lines
// (at "\n", and at spaces where the static wraps words) from the top of the
// box, each aligned on its own.
void staticText(SoftRaster& r, const RECT& box, const std::string& text, int align, bool wrap, COLORREF c) {
    const std::vector<std::string> lines = wrap ? wrappedLines(text, box.right - box.left) : textLines(text);
    if (lines.size() == 1) {
        boxText(r, box, text, align, c);
        return;
    }
    int top = box.top;
    for (const std::string& line : lines) {
        if (top >= box.bottom) break;
        boxText(r, RECT{box.left, top, box.right, std::min<LONG>(box.bottom, top + kTextHeight)}, line, align, c);
        top += kTextHeight;
    }
}

}  // namespace

void drawControlLook(const SoftWindow& w, SoftRaster& r, int dx, int dy) {
    const int x = w.x + dx;
    const int y = w.y + dy;
    const bool enabled = (w.style & WS_DISABLED) == 0;
    const COLORREF ink = enabled ? kBlack : kShadow;
    const RECT box{x, y, x + w.width, y + w.height};
    switch (w.kind) {
        case SoftControlKind::Button: {
            const DWORD type = w.style & BS_TYPEMASK;
            if (type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON) {
                const int top = y + (w.height - 13) / 2;
                fill(r, x, top, 13, 13, kWhite);
                frame(r, x, top, 13, 13, kShadow);
                if (w.check == BST_CHECKED) fill(r, x + 3, top + 3, 7, 7, ink);
                boxText(r, RECT{x + 17, y, x + w.width, y + w.height}, w.text, 0, ink);
            } else {
                fill(r, x, y, w.width, w.height, kButtonFace);
                frame(r, x, y, w.width, w.height, w.pushed ? kBlack : kShadow);
                boxText(r, box, w.text, 1, ink);
            }
            break;
        }
        case SoftControlKind::Static: {
            const DWORD type = w.style & SS_TYPEMASK;
            if (type == SS_OWNERDRAW) break;
            const bool wrap = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT;
            staticText(r, box, w.text, type == SS_CENTER ? 1 : type == SS_RIGHT ? 2 : 0, wrap, ink);
            break;
        }
        case SoftControlKind::Edit:
            fill(r, x, y, w.width, w.height, kWhite);
            frame(r, x, y, w.width, w.height, kShadow);
            boxText(r, RECT{x + 2, y, x + w.width - 2, y + w.height}, w.text, 0, ink);
            break;
        case SoftControlKind::ComboBox: {
            // The closed drop-down list: one line with the selected entry.
            const int h = std::min(w.height, kComboLineHeight);
            fill(r, x, y, w.width, h, kWhite);
            frame(r, x, y, w.width, h, kShadow);
            fill(r, x + w.width - 17, y + 1, 16, h - 2, kButtonFace);
            for (int i = 0; i < 4; ++i)
                for (int xx = -3 + i; xx <= 3 - i; ++xx) r.set(x + w.width - 9 + xx, y + h / 2 - 2 + i, ink);
            const std::string shown = w.selection >= 0 && w.selection < static_cast<int>(w.items.size())
                                          ? w.items[static_cast<size_t>(w.selection)]
                                          : std::string();
            boxText(r, RECT{x + 3, y, x + w.width - 18, y + h}, shown, 0, ink);
            break;
        }
        case SoftControlKind::ScrollBar: {
            fill(r, x, y, w.width, w.height, RGB(236, 233, 216));
            frame(r, x, y, w.width, w.height, kShadow);
            const bool vertical = (w.style & SBS_VERT) != 0;
            const int length = vertical ? w.height : w.width;
            const int thick = vertical ? w.width : w.height;
            const int track = length - 2 * thick;
            const long long span = static_cast<long long>(w.scroll.nMax) - w.scroll.nMin + 1;
            if (track > 0 && span > 0) {
                const int thumb = std::max(8, static_cast<int>(track * std::min<long long>(w.scroll.nPage, span) / span));
                const long long room = span - std::max<long long>(w.scroll.nPage, 1);
                const int offset = room > 0 ? static_cast<int>((track - thumb) * (static_cast<long long>(w.scroll.nPos) - w.scroll.nMin) / room) : 0;
                const int start = thick + std::clamp(offset, 0, std::max(0, track - thumb));
                if (vertical)
                    fill(r, x + 1, y + start, w.width - 2, thumb, kButtonFace), frame(r, x, y + start, w.width, thumb, kShadow);
                else
                    fill(r, x + start, y + 1, thumb, w.height - 2, kButtonFace), frame(r, x + start, y, thumb, w.height, kShadow);
            }
            break;
        }
        case SoftControlKind::ProgressBar: {
            fill(r, x, y, w.width, w.height, kWhite);
            frame(r, x, y, w.width, w.height, kShadow);
            const int span = w.rangeMax - w.rangeMin;
            if (span > 0) {
                const int filled = (w.width - 2) * (w.position - w.rangeMin) / span;
                fill(r, x + 1, y + 1, filled, w.height - 2, kHighlight);
            }
            break;
        }
        case SoftControlKind::Window: break;
    }
}

RECT droppedListBox(const SoftWindow& w) {
    const int rows = static_cast<int>(w.items.size());
    const int h = std::max(0, std::min(w.height - kComboLineHeight, rows * kTextHeight + 2));
    int top = w.y + kComboLineHeight;
    if (w.parent != nullptr && top + h > w.parent->height && w.y - h >= 0) top = w.y - h;
    return RECT{w.x, top, w.x + w.width, top + h};
}

void drawDroppedList(const SoftWindow& w, SoftRaster& r, int dx, int dy) {
    if (!w.dropped || w.kind != SoftControlKind::ComboBox) return;
    const RECT box = droppedListBox(w);
    const int x = box.left + dx;
    const int top = box.top + dy;
    const int h = box.bottom - box.top;
    if (h <= 2) return;
    fill(r, x, top, w.width, h, kWhite);
    frame(r, x, top, w.width, h, kBlack);
    const RECT inside{x + 1, top + 1, x + w.width - 1, top + h - 1};
    for (int i = 0; i < static_cast<int>(w.items.size()); ++i) {
        const int y = top + 1 + i * kTextHeight;
        if (y >= inside.bottom) break;
        const RECT line{inside.left, y, inside.right, std::min<LONG>(inside.bottom, y + kTextHeight)};
        COLORREF ink = kBlack;
        if (i == w.selection) {
            fill(r, line.left, line.top, line.right - line.left, line.bottom - line.top, kHighlight);
            ink = kWhite;
        }
        boxText(r, RECT{line.left + 2, line.top, line.right, line.bottom}, w.items[static_cast<size_t>(i)], 0, ink);
    }
}

}  // namespace wowfix::soft
