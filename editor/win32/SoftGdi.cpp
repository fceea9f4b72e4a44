// The GDI subset over software bitmaps: memory device contexts, bitmaps,
// pens, brushes, BitBlt with SRCCOPY and SRCAND, pixels, rectangles, lines and
// text. Every write is clipped to the target bitmap.

#include "editor/win32/SoftObjects.h"

#include <cstdlib>
#include <cstring>
#include <utility>

void SoftRaster::resize(int w, int h, COLORREF fill) {
    width = w > 0 ? w : 0;
    height = h > 0 ? h : 0;
    pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), fill);
}

namespace {

SoftGdiObject* stockObject(int index) {
    static SoftGdiObject objects[18];
    static bool made = false;
    if (!made) {
        made = true;
        for (SoftGdiObject& o : objects) o.stock = true;
        objects[WHITE_BRUSH] = {SoftObjectKind::Brush, true, {}, PS_SOLID, 1, false, RGB(255, 255, 255), 0};
        objects[GRAY_BRUSH] = {SoftObjectKind::Brush, true, {}, PS_SOLID, 1, false, RGB(128, 128, 128), 0};
        objects[BLACK_BRUSH] = {SoftObjectKind::Brush, true, {}, PS_SOLID, 1, false, RGB(0, 0, 0), 0};
        objects[NULL_BRUSH] = {SoftObjectKind::Brush, true, {}, PS_SOLID, 1, true, 0, 0};
        objects[WHITE_PEN] = {SoftObjectKind::Pen, true, {}, PS_SOLID, 1, false, RGB(255, 255, 255), 0};
        objects[BLACK_PEN] = {SoftObjectKind::Pen, true, {}, PS_SOLID, 1, false, RGB(0, 0, 0), 0};
        objects[NULL_PEN] = {SoftObjectKind::Pen, true, {}, PS_NULL, 1, true, 0, 0};
        objects[ANSI_VAR_FONT] = {SoftObjectKind::Font, true, {}, PS_SOLID, 1, false, 0, 0};
        objects[DEFAULT_GUI_FONT] = {SoftObjectKind::Font, true, {}, PS_SOLID, 1, false, 0, 0};
    }
    if (index < 0 || index >= 18) return nullptr;
    if (index != WHITE_BRUSH && index != GRAY_BRUSH && index != BLACK_BRUSH && index != NULL_BRUSH &&
        index != WHITE_PEN && index != BLACK_PEN && index != NULL_PEN && index != ANSI_VAR_FONT &&
        index != DEFAULT_GUI_FONT)
        return nullptr;
    return &objects[index];
}

// The 1 x 1 bitmap a new memory device context starts with.
SoftGdiObject* defaultBitmap() {
    static SoftGdiObject bitmap = [] {
        SoftGdiObject b;
        b.kind = SoftObjectKind::Bitmap;
        b.stock = true;
        b.raster.resize(1, 1, RGB(0, 0, 0));
        return b;
    }();
    return &bitmap;
}

// Cosmetic dotted pens: three pixels on, three off.
constexpr int kDotLength = 3;

// One pixel of the pen at (x, y), `step` counts the pixels of the line.
void plotPen(SoftDc& dc, int x, int y) {
    SoftGdiObject* pen = dc.pen;
    if (pen == nullptr || pen->null || dc.target == nullptr) return;
    const bool dotted = pen->penStyle == PS_DOT && pen->penWidth <= 1;
    if (dotted) {
        const bool on = (dc.dashPhase / kDotLength) % 2 == 0;
        ++dc.dashPhase;
        if (on)
            dc.target->set(x, y, pen->colour);
        else if (dc.bkMode == OPAQUE)
            dc.target->set(x, y, dc.bkColor);
        return;
    }
    const int w = pen->penWidth > 1 ? pen->penWidth : 1;
    const int from = -(w / 2);
    for (int dy = from; dy < from + w; ++dy)
        for (int dx = from; dx < from + w; ++dx) dc.target->set(x + dx, y + dy, pen->colour);
}

// Bresenham from (x0, y0) towards (x1, y1), leaving out the end pixel.
void drawLine(SoftDc& dc, int x0, int y0, int x1, int y1) {
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    int x = x0;
    int y = y0;
    // Lines longer than any bitmap are clipped by the pixel writes; the
    // count keeps a wild coordinate from looping for long.
    long long steps = 0;
    while ((x != x1 || y != y1) && steps < 1 << 20) {
        plotPen(dc, x, y);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
        ++steps;
    }
}

SoftGdiObject* asObject(HGDIOBJ object) { return static_cast<SoftGdiObject*>(object); }

}  // namespace

HGDIOBJ GetStockObject(int index) { return stockObject(index); }

HDC CreateCompatibleDC(HDC) {
    SoftDc* dc = new SoftDc;
    dc->bitmap = defaultBitmap();
    dc->target = &dc->bitmap->raster;
    dc->pen = stockObject(BLACK_PEN);
    dc->brush = stockObject(WHITE_BRUSH);
    dc->font = stockObject(ANSI_VAR_FONT);
    return dc;
}

BOOL DeleteDC(HDC dc) {
    if (dc == nullptr || dc->window != nullptr) return FALSE;
    if (dc->bitmap != nullptr && dc->bitmap->selections > 0) --dc->bitmap->selections;
    delete dc;
    return TRUE;
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return nullptr;
    SoftGdiObject* bitmap = new SoftGdiObject;
    bitmap->kind = SoftObjectKind::Bitmap;
    bitmap->raster.resize(width, height, RGB(0, 0, 0));
    return bitmap;
}

HPEN CreatePen(int style, int width, COLORREF colour) {
    SoftGdiObject* pen = new SoftGdiObject;
    pen->kind = SoftObjectKind::Pen;
    pen->penStyle = style;
    pen->penWidth = width < 1 ? 1 : width;
    pen->null = style == PS_NULL;
    pen->colour = colour & 0xFFFFFFu;
    return pen;
}

HBRUSH CreateSolidBrush(COLORREF colour) {
    SoftGdiObject* brush = new SoftGdiObject;
    brush->kind = SoftObjectKind::Brush;
    brush->colour = colour & 0xFFFFFFu;
    return brush;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    SoftGdiObject* o = asObject(object);
    if (dc == nullptr || o == nullptr) return nullptr;
    HGDIOBJ previous = nullptr;
    switch (o->kind) {
        case SoftObjectKind::Pen:
            previous = dc->pen;
            dc->pen = o;
            break;
        case SoftObjectKind::Brush:
            previous = dc->brush;
            dc->brush = o;
            break;
        case SoftObjectKind::Font:
            previous = dc->font;
            dc->font = o;
            break;
        case SoftObjectKind::Bitmap:
            // A bitmap can be selected into one memory device context only.
            if (dc->window != nullptr || (o->selections > 0 && o != dc->bitmap)) return nullptr;
            previous = dc->bitmap;
            if (dc->bitmap != nullptr && dc->bitmap->selections > 0) --dc->bitmap->selections;
            dc->bitmap = o;
            ++o->selections;
            dc->target = &o->raster;
            break;
    }
    return previous;
}

BOOL DeleteObject(HGDIOBJ object) {
    SoftGdiObject* o = asObject(object);
    if (o == nullptr || o->stock) return FALSE;
    // Like GDI, an object still selected into a device context stays.
    if (o->kind == SoftObjectKind::Bitmap && o->selections > 0) return FALSE;
    delete o;
    return TRUE;
}

BOOL BitBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop) {
    if (target == nullptr || source == nullptr || target->target == nullptr || source->target == nullptr)
        return FALSE;
    if (rop != SRCCOPY && rop != SRCAND) return FALSE;
    SoftRaster& to = *target->target;
    const SoftRaster& from = *source->target;
    if (&to == &from) {
        // Same bitmap: copy through a buffer so overlapping parts stay right.
        SoftRaster copy = from;
        SoftDc temporary;
        temporary.target = &copy;
        return BitBlt(target, x, y, width, height, &temporary, sourceX, sourceY, rop);
    }
    for (int row = 0; row < height; ++row) {
        const int ty = y + row;
        const int sy = sourceY + row;
        if (ty < 0 || ty >= to.height || sy < 0 || sy >= from.height) continue;
        for (int col = 0; col < width; ++col) {
            const int tx = x + col;
            const int sx = sourceX + col;
            if (tx < 0 || tx >= to.width || sx < 0 || sx >= from.width) continue;
            const COLORREF s = from.at(sx, sy);
            to.set(tx, ty, rop == SRCCOPY ? s : (to.at(tx, ty) & s));
        }
    }
    return TRUE;
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF colour) {
    if (dc == nullptr || dc->target == nullptr || !dc->target->contains(x, y)) return static_cast<COLORREF>(-1);
    dc->target->set(x, y, colour & 0xFFFFFFu);
    return colour & 0xFFFFFFu;
}

COLORREF GetPixel(HDC dc, int x, int y) {
    if (dc == nullptr || dc->target == nullptr || !dc->target->contains(x, y)) return 0xFFFFFFFFu;
    return dc->target->at(x, y);
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
    if (dc == nullptr || dc->target == nullptr) return FALSE;
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    const bool outlined = dc->pen != nullptr && !dc->pen->null;
    // The outline covers left ... right - 1 and top ... bottom - 1; without a
    // pen the fill covers that area less its last row and column.
    const int fillLeft = outlined ? left + 1 : left;
    const int fillTop = outlined ? top + 1 : top;
    const int fillRight = outlined ? right - 1 : right - 1;
    const int fillBottom = outlined ? bottom - 1 : bottom - 1;
    if (dc->brush != nullptr && !dc->brush->null)
        for (int yy = fillTop; yy < fillBottom; ++yy) {
            if (yy < 0 || yy >= dc->target->height) continue;
            for (int xx = fillLeft; xx < fillRight; ++xx) dc->target->set(xx, yy, dc->brush->colour);
        }
    if (outlined && right - left >= 1 && bottom - top >= 1) {
        dc->dashPhase = 0;
        drawLine(*dc, left, top, right - 1, top);
        drawLine(*dc, right - 1, top, right - 1, bottom - 1);
        drawLine(*dc, right - 1, bottom - 1, left, bottom - 1);
        drawLine(*dc, left, bottom - 1, left, top);
    }
    return TRUE;
}

BOOL MoveToEx(HDC dc, int x, int y, POINT* previous) {
    if (dc == nullptr) return FALSE;
    if (previous != nullptr) *previous = dc->position;
    dc->position = {x, y};
    dc->dashPhase = 0;
    return TRUE;
}

BOOL LineTo(HDC dc, int x, int y) {
    if (dc == nullptr || dc->target == nullptr) return FALSE;
    drawLine(*dc, dc->position.x, dc->position.y, x, y);
    dc->position = {x, y};
    return TRUE;
}

BOOL Polyline(HDC dc, const POINT* points, int count) {
    if (dc == nullptr || points == nullptr || count < 2) return FALSE;
    const POINT keep = dc->position;
    MoveToEx(dc, points[0].x, points[0].y, nullptr);
    for (int i = 1; i < count; ++i) LineTo(dc, points[i].x, points[i].y);
    dc->position = keep;
    return TRUE;
}

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length) {
    if (dc == nullptr || dc->target == nullptr || text == nullptr || length < 0) return FALSE;
    int shown = 0;
    while (shown < length && text[shown] != '\0') ++shown;
    if (dc->bkMode == OPAQUE)
        for (int yy = y; yy < y + wowfix::soft::kTextHeight; ++yy)
            for (int xx = x; xx < x + wowfix::soft::textWidth(shown); ++xx) dc->target->set(xx, yy, dc->bkColor);
    wowfix::soft::drawText(*dc->target, x, y, text, shown, dc->textColor);
    return TRUE;
}

int SetBkMode(HDC dc, int mode) {
    if (dc == nullptr || (mode != OPAQUE && mode != TRANSPARENT)) return 0;
    const int previous = dc->bkMode;
    dc->bkMode = mode;
    return previous;
}

COLORREF SetBkColor(HDC dc, COLORREF colour) {
    if (dc == nullptr) return 0xFFFFFFFFu;
    const COLORREF previous = dc->bkColor;
    dc->bkColor = colour & 0xFFFFFFu;
    return previous;
}

COLORREF SetTextColor(HDC dc, COLORREF colour) {
    if (dc == nullptr) return 0xFFFFFFFFu;
    const COLORREF previous = dc->textColor;
    dc->textColor = colour & 0xFFFFFFu;
    return previous;
}
