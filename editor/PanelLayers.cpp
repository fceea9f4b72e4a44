#include "editor/PanelLayers.h"

#include "pvc/PvcCurve.h"
#include "spectral/SpectrogramStore.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace wowfix {

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kRed = RGB(255, 0, 0);

// A pen or brush selected for the life of the object, then deleted.
class ScopedObject {
public:
    ScopedObject(HDC dc, HGDIOBJ object) : dc_(dc), object_(object), previous_(SelectObject(dc, object)) {}
    ~ScopedObject() {
        if (previous_ != nullptr) SelectObject(dc_, previous_);
        DeleteObject(object_);
    }
    ScopedObject(const ScopedObject&) = delete;
    ScopedObject& operator=(const ScopedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ object_;
    HGDIOBJ previous_;
};

void verticalLine(HDC dc, int x, int top, int bottom) {
    MoveToEx(dc, x, top, nullptr);
    LineTo(dc, x, bottom);
}

void horizontalLine(HDC dc, int y, int left, int right) {
    MoveToEx(dc, left, y, nullptr);
    LineTo(dc, right, y);
}

}  // namespace

HDC PanelLayers::makeLayer(HDC panelDc, HBITMAP& bitmap, HGDIOBJ& previous) const {
    HDC dc = CreateCompatibleDC(panelDc);
    bitmap = CreateCompatibleBitmap(panelDc, width_, height_);
    previous = SelectObject(dc, bitmap);
    clearLayer(dc, width_, height_);
    return dc;
}

HDC PanelLayers::makeTemporary(HBITMAP& bitmap, HGDIOBJ& previous) const {
    return makeLayer(spectrogramDc_, bitmap, previous);
}

void PanelLayers::releaseLayer(HDC& dc, HBITMAP& bitmap, HGDIOBJ previous) {
    if (dc == nullptr) return;
    if (previous != nullptr) SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(bitmap);
    dc = nullptr;
    bitmap = nullptr;
}

void PanelLayers::clearLayer(HDC dc, int width, int height) {
    HGDIOBJ pen = SelectObject(dc, GetStockObject(BLACK_PEN));
    HGDIOBJ brush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
    Rectangle(dc, 0, 0, width, height);
    SelectObject(dc, pen);
    SelectObject(dc, brush);
}

bool PanelLayers::create(HDC panelDc, int width, int height) {
    destroy();
    if (width < 3 || height < 3) return false;
    width_ = width;
    height_ = height;
    spectrogramDc_ = makeLayer(panelDc, spectrogramBitmap_, spectrogramPrevious_);
    chartDc_ = makeLayer(panelDc, chartBitmap_, chartPrevious_);
    compositeDc_ = makeLayer(panelDc, compositeBitmap_, compositePrevious_);
    chartDrawn_ = false;
    return true;
}

void PanelLayers::destroy() {
    releaseLayer(spectrogramDc_, spectrogramBitmap_, spectrogramPrevious_);
    releaseLayer(chartDc_, chartBitmap_, chartPrevious_);
    releaseLayer(compositeDc_, compositeBitmap_, compositePrevious_);
    chartDrawn_ = false;
}

void PanelLayers::paint(HDC target) const {
    if (!created() || target == nullptr) return;
    BitBlt(target, 0, 0, width_, height_, spectrogramDc_, 0, 0, SRCCOPY);
    BitBlt(target, 0, 0, width_, height_, chartDc_, 0, 0, SRCAND);
}

void PanelLayers::drawColumn(const SpectrogramStore& store, int column, bool linearScale, const Palette& palette,
                             HDC panel) {
    if (!created() || column < 0 || column + 1 >= width_ - 1) return;
    const int x = column + 1;
    for (int y = 1; y <= height_ - 2; ++y) {
        const float level = linearScale ? store.levelLinear(column, y) : store.levelLog(column, y);
        SetPixel(spectrogramDc_, x, y, palette.colourOfLevel(level));
    }
    if (panel != nullptr) {
        BitBlt(panel, x, 0, 1, height_, spectrogramDc_, x, 0, SRCCOPY);
        BitBlt(panel, x, 0, 1, height_, chartDc_, x, 0, SRCAND);
    }
}

void PanelLayers::drawAllColumns(const SpectrogramStore& store, bool linearScale, const Palette& palette) {
    for (int c = 0; c < store.columns(); ++c) drawColumn(store, c, linearScale, palette, nullptr);
}

void PanelLayers::showPicture(HBITMAP picture, HDC panel) {
    if (!created() || picture == nullptr) return;
    HDC source = CreateCompatibleDC(spectrogramDc_);
    HGDIOBJ previous = SelectObject(source, picture);
    BitBlt(spectrogramDc_, 0, 0, width_, height_, source, 0, 0, SRCCOPY);
    if (previous != nullptr) SelectObject(source, previous);
    DeleteDC(source);
    if (panel != nullptr) BitBlt(panel, 0, 0, width_, height_, spectrogramDc_, 0, 0, SRCCOPY);
}

void PanelLayers::drawCurveLine(HDC dc, const PvcCurve& curve) const {
    const int first = curve.firstVisible();
    const int last = curve.lastVisible();
    if (last < first) return;
    if (curve.firstEdgeInterpolated())
        MoveToEx(dc, curve.firstEdge().x, curve.firstEdge().y, nullptr);
    else
        MoveToEx(dc, curve.xAt(first), curve.yAt(first), nullptr);
    for (int i = first; i <= last; ++i) LineTo(dc, curve.xAt(i), curve.yAt(i));
    if (curve.lastEdgeInterpolated()) LineTo(dc, curve.lastEdge().x, curve.lastEdge().y);
}

void PanelLayers::drawSquares(HDC dc, const PvcCurve& curve, bool styled) const {
    for (int i = curve.firstVisible(); i <= curve.lastVisible(); ++i) {
        const int x = curve.xAt(i);
        const int y = curve.yAt(i);
        if (!styled) {
            Rectangle(dc, x - 3, y - 3, x + 4, y + 4);
            continue;
        }
        const bool end = curve.isEndPoint(i);
        HPEN pen = CreatePen(PS_SOLID, 1, end ? kGrey : kBlack);
        HBRUSH brush = CreateSolidBrush(end ? kGrey : curve.isSelected(i) ? kBlack : kWhite);
        ScopedObject p(dc, pen);
        ScopedObject b(dc, brush);
        Rectangle(dc, x - 3, y - 3, x + 4, y + 4);
    }
}

void PanelLayers::drawChart(const PvcCurve* curve, bool showPoints) {
    if (!created()) return;
    clearLayer(chartDc_, width_, height_);
    if (curve == nullptr || curve->count() == 0) {
        chartDrawn_ = false;
        return;
    }
    HGDIOBJ pen = SelectObject(chartDc_, GetStockObject(BLACK_PEN));
    drawCurveLine(chartDc_, *curve);
    if (showPoints) drawSquares(chartDc_, *curve, true);
    SelectObject(chartDc_, pen);
    chartDrawn_ = true;
}

void PanelLayers::drawChartWithBounds(const PvcCurve& curve, int lowerRow, int upperRow, bool showPoints) {
    if (!created()) return;
    clearLayer(chartDc_, width_, height_);
    {
        ScopedObject dotted(chartDc_, CreatePen(PS_DOT, 1, kBlack));
        SetBkMode(chartDc_, OPAQUE);
        static const char lower[] = "Filter Lower Bound";
        static const char upper[] = "Filter Upper Bound";
        TextOutA(chartDc_, 1, lowerRow + 1, lower, static_cast<int>(sizeof lower - 1));
        horizontalLine(chartDc_, lowerRow, 0, width_);
        TextOutA(chartDc_, 1, upperRow - 15, upper, static_cast<int>(sizeof upper - 1));
        horizontalLine(chartDc_, upperRow, 0, width_);
    }
    HGDIOBJ pen = SelectObject(chartDc_, GetStockObject(BLACK_PEN));
    drawCurveLine(chartDc_, curve);
    if (showPoints) drawSquares(chartDc_, curve, false);
    SelectObject(chartDc_, pen);
    chartDrawn_ = curve.count() > 0;
}

void PanelLayers::rebuildComposite() {
    if (!created()) return;
    paint(compositeDc_);
}

void PanelLayers::zoomRectangle(HDC panel, int x1, int y1, int x2, int y2, bool timeValid, bool frequencyValid,
                                int kind) const {
    if (!created() || panel == nullptr) return;
    BitBlt(panel, 0, 0, width_, height_, compositeDc_, 0, 0, SRCCOPY);
    SetBkMode(panel, OPAQUE);
    if (kind == 0 || kind == 2) {
        ScopedObject pen(panel, CreatePen(PS_DOT, 1, frequencyValid ? kRed : kBlack));
        const int left = kind == 0 ? 1 : std::min(x1, x2);
        const int right = kind == 0 ? width_ - 1 : std::max(x1, x2);
        horizontalLine(panel, y1, left, right);
        horizontalLine(panel, y2, left, right);
    }
    if (kind == 1 || kind == 2) {
        ScopedObject pen(panel, CreatePen(PS_DOT, 1, timeValid ? kRed : kBlack));
        const int top = kind == 1 ? 1 : std::min(y1, y2);
        const int bottom = kind == 1 ? height_ - 1 : std::max(y1, y2);
        verticalLine(panel, x1, top, bottom);
        verticalLine(panel, x2, top, bottom);
    }
}

void PanelLayers::centreOfGravity(HDC panel, int x1, int x2, int startRow, int level, int count,
                                  const int* rows) const {
    if (!created() || panel == nullptr) return;
    BitBlt(panel, 0, 0, width_, height_, compositeDc_, 0, 0, SRCCOPY);
    {
        ScopedObject pen(panel, CreatePen(PS_DOT, 1, kBlack));
        verticalLine(panel, x1, 1, height_ - 1);
        verticalLine(panel, x2, 1, height_ - 1);
    }
    if (rows != nullptr && count > 0) {
        ScopedObject pen(panel, CreatePen(PS_DOT, 1, kRed));
        const int from = x2 < x1 ? x2 : x1;
        MoveToEx(panel, from, startRow, nullptr);
        for (int i = 0; i < count; ++i) LineTo(panel, from + i, rows[i]);
    }
    char text[32];
    std::snprintf(text, sizeof text, "DSC Level: %i", level);
    const int previous = SetBkMode(panel, TRANSPARENT);
    TextOutA(panel, x1, 1, text, static_cast<int>(std::char_traits<char>::length(text)));
    SetBkMode(panel, previous);
}

void PanelLayers::chartTool(HDC panel, int x1, int x2, int* rowsByColumn, int length) const {
    if (!created() || panel == nullptr) return;
    BitBlt(panel, 0, 0, width_, height_, compositeDc_, 0, 0, SRCCOPY);
    {
        ScopedObject pen(panel, CreatePen(PS_DOT, 1, kBlack));
        verticalLine(panel, x1, 1, height_ - 1);
        verticalLine(panel, x2, 1, height_ - 1);
    }
    if (rowsByColumn == nullptr || length <= 0) return;
    const int lo = std::max(0, std::min(x1, x2));
    const int hi = std::min(length - 1, std::max(x1, x2));
    ScopedObject pen(panel, CreatePen(PS_DOT, 1, kRed));
    bool started = false;
    for (int x = lo; x <= hi; ++x) {
        if (rowsByColumn[x] == 0) continue;
        if (!started)
            MoveToEx(panel, x, rowsByColumn[x], nullptr);
        else
            LineTo(panel, x, rowsByColumn[x]);
        started = true;
    }
    for (int x = 0; x < length; ++x)
        if (x < lo || x > hi) rowsByColumn[x] = 0;
}

int PanelLayers::columnOfSample(double sample, double viewLength) const {
    const float q = static_cast<float>(width_ - 3) / static_cast<float>(viewLength);
    const double x = sample * static_cast<double>(q) + 1.0;
    if (!(x > -1e9 && x < 1e9)) return -1;
    return static_cast<int>(x);
}

bool PanelLayers::editCursor(HDC panel, double cursor, double viewOrigin, double viewLength) const {
    if (!created() || panel == nullptr || !(viewLength >= 1.0) || !std::isfinite(cursor)) return false;
    const double s = std::trunc(cursor) - viewOrigin;
    if (!(s >= 0.0 && s < viewLength)) return false;
    paint(panel);
    HGDIOBJ pen = SelectObject(panel, GetStockObject(BLACK_PEN));
    verticalLine(panel, columnOfSample(s, viewLength), 1, height_ - 1);
    SelectObject(panel, pen);
    return true;
}

bool PanelLayers::selection(HDC panel, double start, double end, double viewOrigin, double viewLength) const {
    if (!created() || panel == nullptr || !(viewLength >= 1.0) || !std::isfinite(start) || !std::isfinite(end))
        return false;
    const double s1 = std::trunc(start) - viewOrigin;
    const double s2 = std::trunc(end) - viewOrigin;
    if (!(s1 >= 0.0 && s1 <= viewLength - 1.0 && s2 >= 0.0 && s2 <= viewLength - 1.0)) return false;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    HDC shade = makeTemporary(bitmap, previous);
    paint(panel);
    const int x1 = columnOfSample(s1, viewLength);
    const int x2 = columnOfSample(s2, viewLength);
    {
        ScopedObject pen(shade, CreatePen(PS_SOLID, 1, kGrey));
        ScopedObject brush(shade, CreateSolidBrush(RGB(160, 160, 160)));
        verticalLine(shade, x1, 1, height_ - 1);
        verticalLine(shade, x2, 1, height_ - 1);
        Rectangle(shade, std::min(x1, x2), 1, std::max(x1, x2), height_ - 1);
    }
    BitBlt(panel, 0, 0, width_, height_, shade, 0, 0, SRCAND);
    releaseLayer(shade, bitmap, previous);
    return true;
}

void PanelLayers::overlay(HDC panel, const std::vector<std::vector<POINT>>& tracks) const {
    if (!created() || panel == nullptr) return;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    HDC copy = makeTemporary(bitmap, previous);
    BitBlt(copy, 0, 0, width_, height_, spectrogramDc_, 0, 0, SRCCOPY);
    {
        ScopedObject pen(copy, CreatePen(PS_DOT, 3, RGB(0x77, 0x77, 0x77)));
        for (const std::vector<POINT>& track : tracks) {
            bool down = false;
            for (const POINT& p : track) {
                if (p.x < 0) {
                    down = false;
                    continue;
                }
                if (!down)
                    MoveToEx(copy, p.x, p.y, nullptr);
                else
                    LineTo(copy, p.x, p.y);
                down = true;
            }
        }
    }
    BitBlt(panel, 0, 0, width_, height_, copy, 0, 0, SRCAND);
    releaseLayer(copy, bitmap, previous);
}

}  // namespace wowfix
