#pragma once

#include "editor/Palette.h"
#include "editor/win32/Win32.h"

#include <vector>

namespace wowfix {

class PvcCurve;
class SpectrogramStore;

// The spectrogram panel's off-screen drawing: the spectrogram layer (at first
// the start picture), the chart layer (white, with the curve in black and
// grey, laid over the spectrogram with SRCAND so that white is transparent)
// and the composite of the two that drag feedback draws over. Every drawing
// is clipped to the layers; nothing is drawn before create or after destroy.
class PanelLayers {
public:
    PanelLayers() = default;
    ~PanelLayers() { destroy(); }
    PanelLayers(const PanelLayers&) = delete;
    PanelLayers& operator=(const PanelLayers&) = delete;

    // Three bitmaps of the panel's size, each filled white with a black
    // border. False (and nothing made) for a size below 3 x 3.
    bool create(HDC panelDc, int width, int height);
    void destroy();
    bool created() const { return spectrogramDc_ != nullptr; }
    int width() const { return width_; }
    int height() const { return height_; }

    // The spectrogram layer, and the chart combined over it with SRCAND.
    void paint(HDC target) const;
    // Store column c at pixel column c + 1, rows 1 ... height - 2, then that
    // column copied to `panel` (when given).
    void drawColumn(const SpectrogramStore& store, int column, bool linearScale, const Palette& palette, HDC panel);
    void drawAllColumns(const SpectrogramStore& store, bool linearScale, const Palette& palette);
    // Copies a width x height picture into the spectrogram layer.
    void showPicture(HBITMAP picture, HDC panel);

    // The chart of a laid-out curve; `hasCurve` false clears the chart.
    void drawChart(const PvcCurve* curve, bool showPoints);
    // The same with the two filter bounds of the hum preview marked.
    void drawChartWithBounds(const PvcCurve& curve, int lowerRow, int upperRow, bool showPoints);
    bool chartDrawn() const { return chartDrawn_; }

    // Drag feedback, drawn on `panel` over the composite layer.
    void rebuildComposite();
    void zoomRectangle(HDC panel, int x1, int y1, int x2, int y2, bool timeValid, bool frequencyValid,
                       int kind) const;
    void centreOfGravity(HDC panel, int x1, int x2, int startRow, int level, int count, const int* rows) const;
    void chartTool(HDC panel, int x1, int x2, int* rowsByColumn, int length) const;

    // The pixel column of a sample s of the view: the curve's mapping,
    // trunc(s * q + 1) with q = (width - 3) / viewLength in single precision.
    int columnOfSample(double sample, double viewLength) const;
    // The host's edit cursor: the panel shown and a black line at its column.
    // False, drawing nothing, outside the view.
    bool editCursor(HDC panel, double cursor, double viewOrigin, double viewLength) const;
    // The host's selection shaded grey over the panel; false, drawing
    // nothing, when either end lies outside the view.
    bool selection(HDC panel, double start, double end, double viewOrigin, double viewLength) const;
    // Dotted grey polylines (pen width 3, so solid) over a copy of the
    // spectrogram, combined onto the panel with SRCAND. A point with x < 0
    // lifts the pen.
    void overlay(HDC panel, const std::vector<std::vector<POINT>>& tracks) const;

    HDC spectrogramDc() const { return spectrogramDc_; }
    HDC chartDc() const { return chartDc_; }
    HDC compositeDc() const { return compositeDc_; }

private:
    static void clearLayer(HDC dc, int width, int height);
    void drawCurveLine(HDC dc, const PvcCurve& curve) const;
    void drawSquares(HDC dc, const PvcCurve& curve, bool greyEnds) const;
    HDC makeLayer(HDC panelDc, HBITMAP& bitmap, HGDIOBJ& previous) const;
    HDC makeTemporary(HBITMAP& bitmap, HGDIOBJ& previous) const;
    static void releaseLayer(HDC& dc, HBITMAP& bitmap, HGDIOBJ previous);

    int width_ = 0;
    int height_ = 0;
    HDC spectrogramDc_ = nullptr;
    HDC chartDc_ = nullptr;
    HDC compositeDc_ = nullptr;
    HBITMAP spectrogramBitmap_ = nullptr;
    HBITMAP chartBitmap_ = nullptr;
    HBITMAP compositeBitmap_ = nullptr;
    HGDIOBJ spectrogramPrevious_ = nullptr;
    HGDIOBJ chartPrevious_ = nullptr;
    HGDIOBJ compositePrevious_ = nullptr;
    bool chartDrawn_ = false;
};

}  // namespace wowfix
