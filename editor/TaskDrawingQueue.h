#pragma once

#include "editor/win32/Win32.h"

#include <mutex>
#include <vector>

namespace wowfix {

// What a task running on the host's thread has drawn for the window, handed
// over to the window's own thread, which alone touches the layers and the
// controls: finished spectrogram columns (their colours worked out by the
// task's thread), the progress bar, and the notice that the curve or the
// view has changed. Nothing is taken while the window is closed.
class TaskDrawingQueue {
public:
    struct Column {
        int column = 0;
        std::vector<COLORREF> colours;  // rows 1 ... height - 2, top down
    };
    struct Batch {
        std::vector<Column> columns;
        bool progressChanged = false;
        double progress = -1.0;
        bool curveChanged = false;
        bool boundsShown = false;
        int lowerRow = 0;
        int upperRow = 0;
        bool frequencyViewChanged = false;
        bool timeViewChanged = false;
        bool empty() const {
            return columns.empty() && !progressChanged && !curveChanged && !frequencyViewChanged && !timeViewChanged;
        }
    };

    void open();
    bool isOpen() const;
    // Drops what was not taken and takes nothing more.
    void close();
    void addColumn(Column column);
    void setProgress(double percent);
    void curveChanged();
    void curveChangedWithBounds(int lowerRow, int upperRow);
    void frequencyViewChanged();
    void timeViewChanged();
    // Everything handed over since the last take.
    Batch take();

private:
    mutable std::mutex mutex_;
    bool open_ = false;
    Batch pending_;
};

}  // namespace wowfix
