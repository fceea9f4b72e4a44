#include "pvc/tools/MovePointTool.h"

#include "pvc/PvcCurve.h"
#include "pvc/UndoHistory.h"
#include "pvc/tools/EditContext.h"
#include "spectral/SpectrogramStore.h"

namespace wowfix {

void MovePointTool::hover(EditContext& context, int x, int y) {
    if (!dragging_) hovering_ = context.curve.hitTest(x, y);
}

void MovePointTool::press(EditContext& context, int x, int y) {
    PvcCurve& curve = context.curve;
    hovering_ = curve.hitTest(x, y);
    if (!hovering_) return;
    dragging_ = true;
    selected_ = curve.selectAt(x, y);
    if (selected_) curve.updateEdges(context.store);
}

void MovePointTool::drag(EditContext& context, int x, int y) {
    if (!dragging_) {
        hovering_ = context.curve.hitTest(x, y);
        return;
    }
    if (!selected_) return;
    PvcCurve& curve = context.curve;
    const int s = curve.selectedIndex();
    // Strictly between the neighbours' columns, so the point never passes them.
    if (!(curve.xAt(s - 1) < x && x < curve.xAt(s + 1))) return;
    curve.setPixel(s, x, y);
    if (curve.commitMove(valueOfRow(context, y))) curve.updateEdges(context.store);
}

void MovePointTool::release(EditContext& context, int, int y) {
    const bool picked = selected_ && hovering_ && dragging_;
    dragging_ = false;
    if (!picked) {
        selected_ = false;
        return;
    }
    PvcCurve& curve = context.curve;
    if (curve.commitMove(valueOfRow(context, y))) curve.updateEdges(context.store);
    curve.clearSelection();
    selected_ = false;
    recordToolEdit(context, undoKindPointMoved);
}

}  // namespace wowfix
