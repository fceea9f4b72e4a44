#include "pvc/tools/ProcessingAreaTool.h"

#include "pvc/tools/EditArea.h"
#include "pvc/tools/EditContext.h"
#include "spectral/SpectrogramStore.h"

#include <algorithm>

namespace wowfix {

void ProcessingAreaTool::press(EditContext& context, int x, int y) {
    pressed_ = true;
    x0_ = clampColumn(context, x);
    y0_ = y;
}

void ProcessingAreaTool::release(EditContext& context, int x, int y) {
    if (!pressed_) return;
    pressed_ = false;
    const SpectrogramStore& store = context.store;
    const float f0 = store.frequencyAtRow(y0_);
    const float f1 = store.frequencyAtRow(y);
    // File positions, as every tool's sample under a column.
    const int a = sampleUnderColumn(context, x0_);
    const int b = sampleUnderColumn(context, clampColumn(context, x));
    EditArea& area = context.area;
    area.lowFrequency = std::min(f0, f1);
    area.highFrequency = std::max(f0, f1);
    area.start = std::min(a, b);
    area.end = std::max(a, b);
    // A click or a drag along one column marks nothing.
    area.selected = area.end > area.start && area.highFrequency > area.lowFrequency;
}

}  // namespace wowfix
