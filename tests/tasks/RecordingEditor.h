#pragma once

#include "pvc/UndoHistory.h"
#include "tasks/EditorPort.h"

#include <vector>

namespace wowfix {

// An editor that remembers what the tasks asked of it.
class RecordingEditor : public EditorPort {
public:
    EditorView& view() override { return view_; }
    void drawColumn(int column) override { columns.push_back(column); }
    void drawCurve() override {}
    void frequencyViewChanged() override {}
    void timeViewChanged() override {}
    void showProgress(double percent) override { progress.push_back(percent); }
    UndoHistory* undoHistory() override { return &history; }

    EditorView view_;
    std::vector<int> columns;
    std::vector<double> progress;
    UndoHistory history;
};

}  // namespace wowfix
