#include "pvc/tools/CentreOfGravityTool.h"

#include "detectors/CentroidTracker.h"
#include "pvc/PvcCurve.h"
#include "pvc/UndoHistory.h"
#include "pvc/tools/EditContext.h"
#include "spectral/SpectrogramStore.h"

#include <algorithm>
#include <cstdlib>

namespace wowfix {

int CentreOfGravityTool::levelOfDistance(long long rows) {
    return static_cast<int>(std::min(std::llabs(rows) / 4 + 10, 20LL));
}

void CentreOfGravityTool::press(EditContext& context, int x, int y) {
    pressed_ = true;
    x0_ = clampColumn(context, x);
    y0_ = y;
    followed_ = 0;
    preview_.clear();
}

CentreOfGravityTool::Tracked CentreOfGravityTool::track(const EditContext& context, int x, int y,
                                                        float scale) const {
    const SpectrogramStore& store = context.store;
    Tracked result;
    const bool leftwards = x0_ >= x;
    result.span = store.columnSpan(std::min(x0_, x), std::max(x0_, x));
    if (result.span < 1) return result;
    result.values.assign(static_cast<size_t>(result.span), 0.0f);
    const int level = levelOfDistance(static_cast<long long>(y) - y0_);
    result.count = trackCentroid(store.columnPower(), store.columnsAllocated() ? store.columns() : 0,
                                 store.halfLength(), x0_, leftwards ? -result.span : result.span,
                                 store.binOfRow(y0_), scale, result.values.data(), level);
    return result;
}

void CentreOfGravityTool::drag(EditContext& context, int x, int y) {
    if (!pressed_) return;
    const SpectrogramStore& store = context.store;
    const Tracked tracked = track(context, x, y, 1.0f);
    const float pressFrequency = store.frequencyAtRow(y0_);
    preview_.clear();
    const int k = std::abs(tracked.count);
    for (int j = 0; j < k; ++j) {
        // Entry n - 1 - j is column x0 - j to the left; entry j is x0 + j.
        const bool leftwards = tracked.count < 0;
        const int entry = leftwards ? tracked.span - 1 - j : j;
        const int column = leftwards ? x0_ - j : x0_ + j;
        preview_.push_back(
            {column, store.rowOfFrequencyProduct(pressFrequency, tracked.values[static_cast<size_t>(entry)])});
    }
}

void CentreOfGravityTool::release(EditContext& context, int x, int y) {
    if (!pressed_) return;
    pressed_ = false;
    preview_.clear();
    followed_ = 0;
    const SpectrogramStore& store = context.store;
    PvcCurve& curve = context.curve;
    const int left = std::max(std::min(x0_, x), 0);
    const int n = store.columnSpan(std::min(x0_, x), std::max(x0_, x));
    const long long d = std::llabs(static_cast<long long>(y) - y0_);
    const auto rowAt = [](long long row) { return static_cast<int>(std::clamp<long long>(row, -1, 1 << 20)); };
    if (n < 1 || store.binOfRow(rowAt(y0_ - d)) == store.binOfRow(rowAt(y0_ + d))) return;

    float scale = store.referenceFrequency() > 0.0f ? store.frequencyAtRow(y0_) / store.referenceFrequency()
                                                    : curve.valueAtPosition(sampleUnderColumn(context, left));
    if (!(scale > 0.0f)) return;
    scale = clampEditValue(scale);
    const Tracked tracked = track(context, x, y, scale);
    const int k = std::abs(tracked.count);
    if (k == 0) return;
    followed_ = tracked.count;

    // Column offsets from `left`: to the right the press column is offset 0
    // and offsets 0 ... k - 1 were followed, entry c holding offset c; to the
    // left the press column is offset n and offsets n ... n - k + 1 were
    // followed, entry c - 1 holding offset c.
    const bool leftwards = tracked.count < 0;
    const int first = leftwards ? n - k + 1 : 0;
    const int last = leftwards ? n : k - 1;
    const int stretchStart = sampleUnderColumn(context, left + (leftwards ? n - k : 0));
    const int stretchEnd = sampleUnderColumn(context, left + (leftwards ? n : k));
    const float vLeft = curve.valueAtPosition(stretchStart);
    const float vRight = curve.valueAtPosition(stretchEnd);
    curve.deleteRange(stretchStart, stretchEnd);
    curve.insertPoint(stretchStart, vLeft, false);
    curve.insertPoint(stretchEnd, vRight, false);
    for (int c = first; c <= last; ++c) {
        const float value = tracked.values[static_cast<size_t>(leftwards ? c - 1 : c)];
        curve.insertPoint(sampleUnderColumn(context, left + c), clampEditValue(value), true);
    }
    curve.layout(store);
    recordToolEdit(context, undoKindCentreOfGravity);
}

}  // namespace wowfix
