#pragma once

#include <array>
#include <cstdint>

namespace wowfix {

// The number of undo steps one file slot can record.
constexpr int maxUndoSteps = 511;

// Kind codes of the recorded undo steps.
enum UndoKind : std::int32_t {
    undoKindImported = 0,
    undoKindSpectralDetector = 2,
    undoKindLibraryDetection = 3,
    undoKindPilotTone = 4,
    undoKindCentreOfGravity = 5,
    undoKindPointMoved = 6,
    undoKindPointInserted = 7,
    undoKindDrawn = 8,
    undoKindPointsDeleted = 9,
};

// The undo counter of one file slot. Position p means the curve is the one of
// snapshot p; undo goes to p - 1, redo to p + 1 while p < count.
class UndoHistory {
public:
    // Records a step of `kind` at the current position and drops the steps
    // that could have been redone. Refuses (false) once maxUndoSteps are held.
    bool push(std::int32_t kind);
    bool canUndo() const { return position_ >= 1; }
    bool canRedo() const { return position_ < count_; }
    void undo();
    void redo();
    int position() const { return position_; }
    int count() const { return count_; }
    // The kind of the step taken from position `index`; -1 out of range.
    std::int32_t kindAt(int index) const;
    void reset();

private:
    int position_ = 0;
    int count_ = 0;
    std::array<std::int32_t, maxUndoSteps> kinds_{};
};

}  // namespace wowfix
