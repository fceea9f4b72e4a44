#include "pvc/tools/EditTool.h"

#include "pvc/PvcCurve.h"
#include "pvc/UndoSteps.h"
#include "pvc/tools/EditContext.h"
#include "spectral/SpectrogramStore.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace wowfix {

float clampEditValue(float value) {
    if (std::isnan(value)) return value;
    return std::clamp(value, minEditValue, maxEditValue);
}

void EditTool::select(EditContext& context) { context.curve.markNewSnapshot(); }

void EditTool::hover(EditContext&, int, int) {}

int sampleUnderColumn(const EditContext& context, int x) {
    const std::int64_t sample = std::int64_t{context.viewOffset} + context.store.blockMiddleAtColumn(x);
    return static_cast<int>(std::clamp<std::int64_t>(sample, INT32_MIN, INT32_MAX));
}

float valueOfRow(const EditContext& context, int y) {
    const SpectrogramStore& store = context.store;
    return clampEditValue(store.valueOfFrequency(store.frequencyAtRow(y)));
}

int clampColumn(const EditContext& context, int x) {
    return std::clamp(x, 0, std::max(context.store.columns() - 1, 0));
}

void recordToolEdit(EditContext& context, std::int32_t kind) {
    if (context.history != nullptr)
        recordEdit(context.curve, *context.history, kind);
    else
        context.curve.updateSnapshot();
}

}  // namespace wowfix
