#pragma once

#include "TestSupport.h"
#include "pvc/PvcCurve.h"
#include "pvc/UndoHistory.h"
#include "pvc/UndoSteps.h"
#include "pvc/tools/EditArea.h"
#include "pvc/tools/EditContext.h"
#include "pvc/tools/EditTools.h"
#include "spectral/SpectrogramStore.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

namespace wowfix::test {

// A curve over one second at 44.1 kHz drawn over a spectrogram of 120
// columns and 259 rows showing 500 ... 1500 Hz (reference line 1000 Hz),
// with its first undo snapshot written, and the six tools.
class ToolBench : public ::testing::Test {
protected:
    static constexpr int kLength = 44100;
    static constexpr int kColumns = 120;
    static constexpr int kRows = 259;
    static constexpr int kPanelWidth = kColumns + 2;

    void SetUp() override {
        ASSERT_TRUE(curve.openTempFolder(scratch.file("base")));
        curve.initFlat(kLength);
        store.setSampleRate(44100.0f);
        store.setFftLength(1024);
        store.setColumnCount(kColumns);
        store.setRowCount(kRows);
        ASSERT_TRUE(store.allocateColumns());
        store.setFrequencyRange(500.0f, 1500.0f);
        ASSERT_TRUE(store.layoutColumns(0, kLength, kLength));
        curve.setView(kColumns, kRows, 0, kLength - 1);
        curve.layout(store);
        ASSERT_TRUE(recordNewCurve(curve, history, undoKindImported));
    }

    // Fills the store with the signal `frequency(t)` (Hz at time t in s).
    void feed(const std::function<double(double)>& frequency) {
        double phase = 0.0;
        for (int i = 0; i < kLength; ++i) {
            const float x = static_cast<float>(0.5 * std::sin(phase));
            while (store.feedSample(x)) {}
            phase += 2.0 * M_PI * frequency(i / 44100.0) / 44100.0;
        }
    }

    void use(int tool) { ASSERT_TRUE(tools.select(context, tool)); }
    void stroke(int x0, int y0, const std::vector<std::pair<int, int>>& moves, int x1, int y1) {
        tools.press(context, x0, y0);
        for (const auto& [x, y] : moves) tools.drag(context, x, y);
        tools.release(context, x1, y1);
    }
    int rowOf(float frequency) const { return store.rowOfFrequency(frequency); }

    bool sorted() const {
        const auto& points = curve.points();
        for (size_t i = 1; i < points.size(); ++i)
            if (points[i].position <= points[i - 1].position) return false;
        return !points.empty() && points.front().position == 0 && points.back().position == kLength - 1;
    }
    void expectValuesIn(float lo, float hi) const {
        for (const PvcPoint& p : curve.points()) {
            EXPECT_GE(p.value, lo) << p.position;
            EXPECT_LE(p.value, hi) << p.position;
        }
    }
    // Undo then redo the last step: back to `before`, forward to `after`.
    void expectUndoRedo(const std::vector<PvcPoint>& before) {
        const std::vector<PvcPoint> after = curve.points();
        ASSERT_TRUE(undoStep(curve, history));
        expectSame(curve.points(), before);
        ASSERT_TRUE(redoStep(curve, history));
        expectSame(curve.points(), after);
    }
    static void expectSame(const std::vector<PvcPoint>& a, const std::vector<PvcPoint>& b) {
        ASSERT_EQ(a.size(), b.size());
        for (size_t i = 0; i < a.size(); ++i) {
            EXPECT_EQ(a[i].position, b[i].position) << i;
            EXPECT_NEAR(a[i].value, b[i].value, 1e-6f) << i;
        }
    }

    ScratchFolder scratch;
    PvcCurve curve;
    SpectrogramStore store;
    UndoHistory history;
    EditArea area;
    EditContext context{curve, store, &history, area, 0, kPanelWidth};
    EditTools tools;
};

}  // namespace wowfix::test
