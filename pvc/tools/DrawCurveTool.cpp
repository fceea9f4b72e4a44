#include "pvc/tools/DrawCurveTool.h"

#include "pvc/PvcCurve.h"
#include "pvc/UndoHistory.h"
#include "pvc/tools/EditContext.h"
#include "spectral/SpectrogramStore.h"

#include <algorithm>

namespace wowfix {

int DrawCurveTool::traceWidth(const EditContext& context) {
    return context.panelWidth > 0 ? context.panelWidth : std::max(context.store.columns(), 1);
}

void DrawCurveTool::press(EditContext& context, int x, int y) {
    const int width = traceWidth(context);
    trace_.assign(static_cast<size_t>(width), 0);
    drawing_ = true;
    x0_ = std::clamp(x, 0, width - 1);
    if (y >= 1) trace_[static_cast<size_t>(x0_)] = y;
}

void DrawCurveTool::drag(EditContext&, int x, int y) {
    if (!drawing_) return;
    if (x >= 0 && x < static_cast<int>(trace_.size()) && y >= 1) trace_[static_cast<size_t>(x)] = y;
}

void DrawCurveTool::release(EditContext& context, int x, int) {
    if (!drawing_) return;
    drawing_ = false;
    std::vector<int> trace;
    trace.swap(trace_);
    const int width = static_cast<int>(trace.size());
    const int x1 = std::clamp(x, 0, width - 1);
    int lo = std::min(x0_, x1);
    int hi = std::max(x0_, x1);
    for (int c = 0; c < width; ++c)
        if (trace[static_cast<size_t>(c)] != 0) {
            lo = std::min(lo, c);
            hi = std::max(hi, c);
        }
    // Without a reference line the rows have no speed to give.
    if (!(context.store.referenceFrequency() > 0.0f)) return;

    PvcCurve& curve = context.curve;
    const int s1 = sampleUnderColumn(context, lo);
    const int s2 = sampleUnderColumn(context, hi);
    const float vLeft = curve.valueAtPosition(s1);
    const float vRight = curve.valueAtPosition(s2);
    curve.deleteRange(s1, s2);
    curve.insertPoint(s1, vLeft, false);
    curve.insertPoint(s2, vRight, false);
    for (int c = 0; c < width; ++c) {
        const int row = trace[static_cast<size_t>(c)];
        if (row != 0) curve.insertPoint(sampleUnderColumn(context, c), valueOfRow(context, row), false);
    }
    curve.layout(context.store);
    curve.markNewSnapshot();
    recordToolEdit(context, undoKindDrawn);
}

}  // namespace wowfix
