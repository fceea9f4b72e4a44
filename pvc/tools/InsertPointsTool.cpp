#include "pvc/tools/InsertPointsTool.h"

#include "pvc/PvcCurve.h"
#include "pvc/UndoHistory.h"
#include "pvc/tools/EditContext.h"
#include "spectral/SpectrogramStore.h"

namespace wowfix {

void InsertPointsTool::press(EditContext& context, int x, int) {
    PvcCurve& curve = context.curve;
    const int p = sampleUnderColumn(context, x);
    curve.insertPoint(p, curve.valueAtPosition(p), false);
    curve.layout(context.store);
    recordToolEdit(context, undoKindPointInserted);
}

}  // namespace wowfix
