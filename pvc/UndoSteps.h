#pragma once

#include <cstdint>

namespace wowfix {

class PvcCurve;
class UndoHistory;

// The editor's undo and redo commands and the recording of steps, keeping the
// curve's snapshot numbers and the history's position in step: the history
// moves only when the snapshot it moves to was loaded or written.

// A new curve from a task or an import: opens a snapshot and records a step of
// `kind`. Answers false, recording nothing, when the snapshot cannot be
// written.
bool recordNewCurve(PvcCurve& curve, UndoHistory& history, std::int32_t kind);

// After an edit: updates the snapshot and records a step of `kind` when a new
// one was opened. Answers updateSnapshot's result (0 nothing written, 1 the
// current snapshot overwritten, 2 a new step).
int recordEdit(PvcCurve& curve, UndoHistory& history, std::int32_t kind);

// Loads the snapshot one step back or forward; false, changing nothing, when
// there is no such step or its snapshot cannot be read.
bool undoStep(PvcCurve& curve, UndoHistory& history);
bool redoStep(PvcCurve& curve, UndoHistory& history);

// Coming back to a file that had `keptCount` snapshots: loads the snapshot of
// the history's position and restores the numbers to that position and count.
bool restoreFileState(PvcCurve& curve, const UndoHistory& history, int keptCount);

}  // namespace wowfix
