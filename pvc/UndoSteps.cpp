#include "pvc/UndoSteps.h"

#include "pvc/PvcCurve.h"
#include "pvc/UndoHistory.h"

namespace wowfix {

bool recordNewCurve(PvcCurve& curve, UndoHistory& history, std::int32_t kind)
{
    const int before = curve.snapshotIndex();
    if (!curve.saveSnapshot())
        return false;
    // The first snapshot is the state undo returns to, not a step; at the step
    // limit the current snapshot was overwritten and no step is added.
    if (before >= 0 && curve.snapshotIndex() > before)
        history.push(kind);
    return true;
}

int recordEdit(PvcCurve& curve, UndoHistory& history, std::int32_t kind)
{
    const int result = curve.updateSnapshot();
    if (result == 2)
        history.push(kind);
    return result;
}

bool undoStep(PvcCurve& curve, UndoHistory& history)
{
    if (!history.canUndo() || !curve.loadSnapshot(history.position() - 1))
        return false;
    history.undo();
    return true;
}

bool redoStep(PvcCurve& curve, UndoHistory& history)
{
    if (!history.canRedo() || !curve.loadSnapshot(history.position() + 1))
        return false;
    history.redo();
    return true;
}

bool restoreFileState(PvcCurve& curve, const UndoHistory& history, int keptCount)
{
    if (keptCount < 1 || !curve.loadSnapshot(history.position()))
        return false;
    curve.setSnapshotState(history.position(), keptCount);
    return true;
}

}  // namespace wowfix
