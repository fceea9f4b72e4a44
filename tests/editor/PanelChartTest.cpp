// The panel's drawing lands where the curve's and the store's mappings put
// things: curve points, spectrogram columns, the edit cursor and the
// selection.

#include "editor/PanelLayers.h"
#include "pvc/PvcCurve.h"
#include "spectral/SpectrogramStore.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr int kWidth = 670;
constexpr int kHeight = 260;
constexpr int kLength = 20000;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128);

class PanelChart : public ::testing::Test {
protected:
    void SetUp() override {
        store.setSampleRate(44100.0f);
        store.setFftLength(1024);
        store.setColumnCount(kWidth - 2);
        store.setRowCount(kHeight - 1);
        store.resetFrequencyZoom();
        curve.initFlat(kLength);
        curve.insertPoint(5000, 1.02f, false);
        curve.insertPoint(12000, 0.97f, false);
        curve.setView(kWidth - 2, kHeight - 1, 0, kLength);
        ASSERT_TRUE(curve.layout(store));
        panel = CreateCompatibleDC(nullptr);
        panelBitmap = CreateCompatibleBitmap(nullptr, kWidth, kHeight);
        previous = SelectObject(panel, panelBitmap);
        ASSERT_TRUE(layers.create(panel, kWidth, kHeight));
    }
    void TearDown() override {
        layers.destroy();
        SelectObject(panel, previous);
        DeleteDC(panel);
        DeleteObject(panelBitmap);
    }
    // The column the curve's 667-pixel mapping gives a sample.
    static int expectedColumn(int sample) {
        const float ratio = static_cast<float>(kWidth - 3) / static_cast<float>(kLength);
        return static_cast<int>(static_cast<double>(sample) * ratio + 1.0);
    }

    wowfix::SpectrogramStore store;
    wowfix::PvcCurve curve;
    wowfix::PanelLayers layers;
    HDC panel = nullptr;
    HBITMAP panelBitmap = nullptr;
    HGDIOBJ previous = nullptr;
};

TEST_F(PanelChart, TheCurvePassesThroughThePixelsOfTheMappings) {
    layers.drawChart(&curve, false);
    EXPECT_TRUE(layers.chartDrawn());
    ASSERT_EQ(curve.count(), 4);
    for (int i = 0; i < curve.count(); ++i) {
        SCOPED_TRACE(i);
        const int x = expectedColumn(curve.positionAt(i));
        const int y = store.rowOfValue(curve.valueAt(i));
        EXPECT_EQ(curve.xAt(i), x);
        EXPECT_EQ(curve.yAt(i), y);
        if (i + 1 < curve.count()) {
            EXPECT_EQ(GetPixel(layers.chartDc(), x, y), kBlack);
        }
    }
    // Away from the curve the chart stays white, so SRCAND keeps the picture.
    EXPECT_EQ(GetPixel(layers.chartDc(), 300, 5), kWhite);
    layers.drawChart(nullptr, false);
    EXPECT_FALSE(layers.chartDrawn());
    EXPECT_EQ(GetPixel(layers.chartDc(), curve.xAt(1), curve.yAt(1)), kWhite);
}

TEST_F(PanelChart, PointSquaresAreGreyAtTheEndsBlackWhenSelectedAndWhiteElsewhere) {
    ASSERT_TRUE(curve.selectAt(curve.xAt(2), curve.yAt(2)));
    layers.drawChart(&curve, true);
    const HDC chart = layers.chartDc();
    // The squares span (x - 3, y - 3) ... (x + 3, y + 3).
    EXPECT_EQ(GetPixel(chart, curve.xAt(0) + 3, curve.yAt(0) + 3), kGrey);
    EXPECT_EQ(GetPixel(chart, curve.xAt(0) + 4, curve.yAt(0) + 4), kWhite);
    EXPECT_EQ(GetPixel(chart, curve.xAt(3) - 3, curve.yAt(3) - 3), kGrey);
    EXPECT_EQ(GetPixel(chart, curve.xAt(1) - 3, curve.yAt(1) - 3), kBlack);
    EXPECT_EQ(GetPixel(chart, curve.xAt(1) - 1, curve.yAt(1) - 2), kWhite);
    EXPECT_EQ(GetPixel(chart, curve.xAt(2) - 1, curve.yAt(2) - 2), kBlack);
}

TEST_F(PanelChart, ColumnsLandOnePixelRightOfTheirStoreColumnInTheirPaletteColour) {
    ASSERT_TRUE(store.layoutColumns(0, kLength, kLength));
    for (int n = 0; n < kLength; ++n) {
        const float x = static_cast<float>(0.5 * std::sin(2.0 * 3.14159265358979 * 5000.0 * n / 44100.0));
        while (store.feedSample(x)) {
        }
    }
    const wowfix::Palette palette;
    layers.drawAllColumns(store, true, palette);
    const int toneRow = store.rowOfFrequency(5000.0f);
    for (int c : {0, 100, 400, kWidth - 3}) {
        SCOPED_TRACE(c);
        ASSERT_TRUE(store.columnComputed(c));
        EXPECT_EQ(GetPixel(layers.spectrogramDc(), c + 1, toneRow),
                  palette.colourOfLevel(store.levelLinear(c, toneRow)));
        EXPECT_GT(store.levelLinear(c, toneRow), store.levelLinear(c, 20));
    }
    // The frame stays: the first and last rows and columns are not drawn.
    EXPECT_EQ(GetPixel(layers.spectrogramDc(), 0, toneRow), kBlack);
    EXPECT_EQ(GetPixel(layers.spectrogramDc(), 300, kHeight - 1), kBlack);
    EXPECT_EQ(GetPixel(layers.spectrogramDc(), kWidth - 1, toneRow), kBlack);
}

TEST_F(PanelChart, TheEditCursorUsesTheCurvesColumnsAndStaysInsideTheView) {
    layers.drawChart(&curve, false);
    ASSERT_TRUE(layers.editCursor(panel, 12000.0, 0.0, kLength));
    for (int y = 1; y < kHeight - 1; ++y) ASSERT_EQ(GetPixel(panel, curve.xAt(2), y), kBlack);
    EXPECT_EQ(GetPixel(panel, curve.xAt(2), kHeight - 1), kBlack);  // the layer's frame
    // Outside the view, or an empty view: nothing drawn, the panel as it was.
    BitBlt(panel, 0, 0, kWidth, kHeight, layers.spectrogramDc(), 0, 0, SRCCOPY);
    EXPECT_FALSE(layers.editCursor(panel, kLength, 0.0, kLength));
    EXPECT_FALSE(layers.editCursor(panel, -1.0, 0.0, kLength));
    EXPECT_FALSE(layers.editCursor(panel, NAN, 0.0, kLength));
    EXPECT_FALSE(layers.editCursor(panel, 10.0, 0.0, 0.0));
    EXPECT_EQ(GetPixel(panel, curve.xAt(2), 100), kWhite);
}

TEST_F(PanelChart, TheSelectionShadesGreyAndOneEndingAtTheViewsEndDrawsNothing) {
    ASSERT_TRUE(layers.selection(panel, 5000.0, 12000.0, 0.0, kLength));
    const int x1 = expectedColumn(5000);
    const int x2 = expectedColumn(12000);
    EXPECT_EQ(GetPixel(panel, x1, 100), kGrey);
    EXPECT_EQ(GetPixel(panel, (x1 + x2) / 2, 100), RGB(160, 160, 160));
    EXPECT_EQ(GetPixel(panel, x2 + 5, 100), kWhite);
    BitBlt(panel, 0, 0, kWidth, kHeight, layers.spectrogramDc(), 0, 0, SRCCOPY);
    EXPECT_FALSE(layers.selection(panel, 5000.0, kLength, 0.0, kLength));
    EXPECT_EQ(GetPixel(panel, (x1 + x2) / 2, 100), kWhite);
}

TEST_F(PanelChart, FeedbackOffThePanelIsClipped) {
    layers.rebuildComposite();
    layers.zoomRectangle(panel, -500, -500, 5000, 5000, true, false, 2);
    int rows[4] = {10, 400, -30, 20};
    layers.centreOfGravity(panel, 660, 700, -10, 1000000000, 4, rows);
    int byColumn[8] = {0, 5, 6, 0, 7, 9999, 8, 1};
    layers.chartTool(panel, 2, 6, byColumn, 8);
    EXPECT_EQ(byColumn[1], 0);  // outside 2 ... 6 cleared
    EXPECT_EQ(byColumn[7], 0);
    EXPECT_EQ(byColumn[4], 7);
    std::vector<std::vector<POINT>> tracks{{{-1, 0}, {10, 10}, {900, 900}, {-1, 0}, {20, -40}}};
    layers.overlay(panel, tracks);
    // Off-panel coordinates and an overlong level text leave the layers intact.
    EXPECT_EQ(GetPixel(layers.spectrogramDc(), 0, 0), kBlack);
    EXPECT_EQ(layers.width(), kWidth);
}

}  // namespace
