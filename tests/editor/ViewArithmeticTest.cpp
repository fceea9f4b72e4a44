#include "editor/view/FrequencyView.h"
#include "editor/view/ScrollBarSettings.h"
#include "editor/view/TimeView.h"
#include "editor/view/ViewLabels.h"
#include "editor/view/ZoomRectangle.h"
#include "editor/win32/Win32.h"
#include "spectral/SpectrogramStore.h"

#include <gtest/gtest.h>

using namespace wowfix;

namespace {

// A shown view of the whole of a 441000-frame selection.
EditorView wholeView() {
    EditorView v;
    v.totalSamples = 441000;
    v.viewOrigin = 0;
    v.viewLength = 441000;
    v.timeCentre = 220500;
    v.timeHalfSpan = 220500;
    return v;
}

struct Store {
    Store() {
        store.setColumnCount(668);
        store.setRowCount(259);
        store.setFftLength(1024);
        store.resetFrequencyZoom();
    }
    SpectrogramStore store;
};

}  // namespace

TEST(TimeView, ZoomStaysInsideTheFileAndAboveTheMinimum) {
    EditorView v = wholeView();
    TimeView time(v);
    const int minimum = 2000;
    for (int i = 0; i < 12; ++i) {
        time.zoomIn(minimum);
        EXPECT_GE(time.requestedStart(), 0);
        EXPECT_LE(time.requestedEnd(), v.totalSamples);
        EXPECT_GE(time.requestedEnd() - time.requestedStart(), minimum);
    }
    EXPECT_EQ(v.timeHalfSpan, minimum / 2 + 1);
    // A view at the very start zoomed in keeps to frame 0 and above.
    v.timeCentre = 100;
    v.timeHalfSpan = 40000;
    time.zoomIn(minimum);
    EXPECT_EQ(time.requestedStart(), 0);
    EXPECT_EQ(time.requestedEnd(), 40000);
    // Zooming out from there doubles the width, cut at 0.
    v.timeCentre = 20000;
    v.timeHalfSpan = 20000;
    time.zoomOut();
    EXPECT_EQ(time.requestedStart(), 0);
    EXPECT_EQ(time.requestedEnd(), 60000);
    for (int i = 0; i < 6; ++i) time.zoomOut();
    EXPECT_TRUE(time.wholeRequested());
}

TEST(TimeView, TheShownOriginWaitsForThePass) {
    EditorView v = wholeView();
    v.viewOrigin = 100000;
    v.viewLength = 50000;
    v.timeCentre = 125000;
    v.timeHalfSpan = 25000;
    TimeView time(v);
    time.scrollTo(300000);
    EXPECT_EQ(v.viewOrigin, 100000);
    EXPECT_EQ(time.requestedStart(), 275000);
    EXPECT_EQ(time.requestedEnd(), 325000);
    // Scrolling past either end keeps the width and stops at the end.
    time.scrollTo(1e9);
    EXPECT_EQ(time.requestedEnd(), v.totalSamples);
    EXPECT_EQ(time.requestedEnd() - time.requestedStart(), 50000);
    time.scrollTo(-1e9);
    EXPECT_EQ(time.requestedStart(), 0);
    EXPECT_EQ(time.requestedEnd(), 50000);
}

TEST(FrequencyView, ZoomOutIsCutAtZeroAndZoomInKeepsTheMinimum) {
    Store s;
    FrequencyView f;
    s.store.setFrequencyRange(0, 300);
    f.fromBounds(s.store);
    const double binWidth = s.store.sampleRate() / s.store.fftLength();
    f.zoomOut(s.store);
    EXPECT_NEAR(s.store.bottomFrequency(), 0, binWidth);
    EXPECT_NEAR(s.store.topFrequency(), 450, 2 * binWidth);
    for (int i = 0; i < 20; ++i) f.zoomIn(s.store);
    EXPECT_GT(s.store.topFrequency() - s.store.bottomFrequency(), s.store.minFrequencySpan() - binWidth);
    EXPECT_GE(2 * f.halfSpan(), static_cast<int>(s.store.minFrequencySpan()) - binWidth);
    // Scrolling far up stops at the top of the spectrum with the same width.
    const int width = 2 * f.halfSpan();
    EXPECT_TRUE(f.scrollTo(s.store, 100000));
    EXPECT_NEAR(s.store.topFrequency(), s.store.maxFrequency(), 2 * binWidth);
    EXPECT_NEAR(2 * f.halfSpan(), width, 2 * binWidth);
}

TEST(ScrollBars, PagesAndSteps) {
    EditorView v = wholeView();
    v.timeCentre = 400000;
    v.timeHalfSpan = 100000;  // reaches past the end
    ScrollBarSettings bar = timeBarSettings(v);
    EXPECT_EQ(bar.page, 100000);
    EXPECT_EQ(bar.maximum, 441000);
    EXPECT_TRUE(bar.canScroll);
    v.timeHalfSpan = 500000;
    EXPECT_FALSE(timeBarSettings(v).canScroll);
    bar.position = 1000;
    bar.minimum = 0;
    EXPECT_EQ(scrolledPosition(bar, SB_LINEDOWN, 0, false), 1100);
    EXPECT_EQ(scrolledPosition(bar, SB_LINEUP, 0, false), 999);
    EXPECT_EQ(scrolledPosition(bar, SB_LINEUP, 0, true), 0);
    EXPECT_EQ(scrolledPosition(bar, SB_PAGEDOWN, 0, true), 101000);
    EXPECT_EQ(scrolledPosition(bar, SB_THUMBTRACK, 5000000, true), bar.maximum);
}

TEST(ViewLabels, MinutesSecondsAndMilliseconds) {
    EXPECT_EQ(timeLabel(0, 44100), "0:00.000");
    EXPECT_EQ(timeLabel(75 * 44100, 44100), "1:15.000");
    EXPECT_EQ(timeLabel(3.5 * 44100, 44100), "0:03.500");
    EXPECT_EQ(timeLabel(59.9995 * 48000, 48000), "0:59.999");
    EXPECT_EQ(timeLabel(600 * 44100, 44100), "10:00.000");
    EXPECT_EQ(timeLabel(1e300, 1e-300), "0:00.000");
    EXPECT_EQ(frequencyLabel(1e30), "0");
}

TEST(ZoomRectangle, LeftDragAsksForEverythingRightDragZooms) {
    Store s;
    FrequencyView f;
    f.fromBounds(s.store);
    EditorView v = wholeView();
    ZoomRectangle zoom;
    EXPECT_FALSE(zoom.release(10, 0, true, true, v, f, s.store).time);  // no press
    zoom.press(100000, 5000);
    ZoomRectangle::Outcome out = zoom.release(200000, 1000, true, true, v, f, s.store);
    EXPECT_TRUE(out.time);
    EXPECT_TRUE(out.frequency);
    EXPECT_EQ(TimeView(v).requestedStart(), 100000);
    EXPECT_EQ(TimeView(v).requestedEnd(), 200000);
    EXPECT_NEAR(s.store.bottomFrequency(), 1000, 50);
    EXPECT_NEAR(s.store.topFrequency(), 5000, 50);
    // Too small on both axes: nothing zooms, the current view is asked again.
    zoom.press(1000, 2000);
    out = zoom.release(1010, 2001, true, true, v, f, s.store);
    EXPECT_FALSE(out.time || out.frequency || out.whole);
    EXPECT_EQ(v.rangeEnd, v.viewLength);
    zoom.press(5000, 2000);
    out = zoom.release(10, 2000, true, true, v, f, s.store);
    EXPECT_TRUE(out.whole);
    EXPECT_TRUE(TimeView(v).wholeRequested());
    EXPECT_NEAR(s.store.topFrequency(), s.store.maxFrequency(), 50);
}
