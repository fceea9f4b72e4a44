#include "pvc/tools/DeletePointsTool.h"

#include "pvc/PvcCurve.h"
#include "pvc/UndoHistory.h"
#include "pvc/tools/EditContext.h"
#include "spectral/SpectrogramStore.h"

#include <algorithm>

namespace wowfix {

void DeletePointsTool::press(EditContext& context, int x, int) {
    pressed_ = true;
    x0_ = clampColumn(context, x);
}

void DeletePointsTool::release(EditContext& context, int x, int) {
    if (!pressed_) return;
    pressed_ = false;
    const int x1 = clampColumn(context, x);
    const int s1 = sampleUnderColumn(context, std::min(x0_, x1));
    const int s2 = sampleUnderColumn(context, std::max(x0_, x1));
    PvcCurve& curve = context.curve;
    curve.deleteRange(s1, s2);
    curve.layout(context.store);
    recordToolEdit(context, undoKindPointsDeleted);
}

}  // namespace wowfix
