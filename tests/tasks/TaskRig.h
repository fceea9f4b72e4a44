#pragma once

#include "MemoryHost.h"
#include "RecordingEditor.h"
#include "TaskRecords.h"
#include "pvc/PvcCurve.h"
#include "spectral/SpectrogramStore.h"
#include "tasks/TaskContext.h"

#include <gtest/gtest.h>

#include <vector>

namespace wowfix::test {

// Everything a task works with: an in-memory host, a spectrogram store of
// `columns` columns of 64 rows at `fftLength` and `rate`, a curve, an editor
// that records what it is asked, and task records. The panel is the store's
// size with its border.
struct TaskRig {
    TaskRig(int fftLength, double rate, int columns) {
        store.setFftLength(fftLength);
        store.setSampleRate(static_cast<float>(rate));
        store.setColumnCount(columns);
        store.setRowCount(64);
        store.allocateColumns();
        editor.view_.panelWidth = columns + 2;
        editor.view_.panelHeight = 65;
    }
    TaskRig(const TaskRig&) = delete;
    TaskRig& operator=(const TaskRig&) = delete;

    // After a run that failed part way: the curve has the points `before`
    // again, no undo step was recorded and the progress bar is hidden.
    void expectCurveGivenBack(const std::vector<PvcPoint>& before) const {
        ASSERT_EQ(curve.count(), static_cast<int>(before.size()));
        for (size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(curve.points()[i].position, before[i].position);
            EXPECT_EQ(curve.points()[i].value, before[i].value);
        }
        EXPECT_EQ(editor.history.count(), 0);
        ASSERT_FALSE(editor.progress.empty());
        EXPECT_EQ(editor.progress.back(), -1.0) << "the progress bar is hidden";
    }

    MemoryHost host;
    SpectrogramStore store;
    PvcCurve curve;
    RecordingEditor editor;
    TaskState state;
    TaskContext context{curve, store, editor, host, state};
    TaskRecords records;
};

}  // namespace wowfix::test
