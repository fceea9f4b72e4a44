// The window's side of the task handshake: the start picture and the
// working controls, the zoom mode of a new file, the undo buttons, and the
// window while a task runs (the drawing a task on another thread hands over,
// the commands refused or put off until it has ended).
#include "editor/EditorWindow.h"

#include "host/HeadlessEditor.h"
#include "host/OfflinePlugin.h"

#include <initializer_list>

namespace wowfix {

namespace {

// The controls hidden behind the start picture: the view's scroll bars,
// "+"/"-" buttons, labels and time texts, "Import PVC", "Export PVC", the
// info text, the algorithm selector, "Undo", "Redo" and the zoom buttons.
constexpr int kWorkingControls[] = {11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24,
                                    73, 74, 75, 72, 78, 79, 96, 97, 98, 99};

// What a command of these would release or replace is in use by a running
// task: the selector, "Create PVC", "Preview", "Show Hum", "Import PVC",
// "Undo", "Redo", "Lin", "Log" and "Precise" (the detector a task runs).
constexpr int kRefusedWhileBusy[] = {72, 40, 80, 56, 73, 78, 79, 100, 101, control::kPrecise};

}  // namespace

void EditorWindow::setWorkingControlsShown(bool shown) {
    const int show = shown ? SW_SHOW : SW_HIDE;
    for (int id : kWorkingControls) ShowWindow(control(id), show);
    for (int id : panelControls(8)) ShowWindow(control(id), shown && algorithm_ == 8 ? SW_SHOW : SW_HIDE);
    if (shown)
        for (int id : {100, 101}) ShowWindow(control(id), SW_SHOW);
}

void EditorWindow::showStartPicture(bool firstTime) {
    if (!isOpen()) return;
    layers_.showPicture(startPicture_, nullptr);
    if (firstTime) {
        tool_ = 8;
        repaintPanel();
    }
    setWorkingControlsShown(false);
}

void EditorWindow::panelClicked() { owner_->headlessEditor().startWorking(); }

void EditorWindow::leaveStartPicture() {
    if (tool_ == 8) tool_ = 0;
}

void EditorWindow::newFileOpened() {
    if (!isOpen()) return;
    if (algorithm_ != 8) {
        leaveAlgorithm();
        algorithm_ = previousAlgorithm_ = 8;
        tool_ = 0;
        showAlgorithmPanel(8);
    }
    SendMessageA(control(control::kAlgorithmSelector), CB_SETCURSEL, 0, 0);
    SendMessageA(control(96), BM_SETSTATE, TRUE, 0);
}

void EditorWindow::undoStateChanged(bool canUndo, bool canRedo) {
    EnableWindow(control(control::kUndo), canUndo ? TRUE : FALSE);
    EnableWindow(control(control::kRedo), canRedo ? TRUE : FALSE);
}

bool EditorWindow::refusedWhileBusy(int id) const {
    for (int refused : kRefusedWhileBusy)
        if (id == refused) return true;
    return false;
}

void EditorWindow::followBusy() {
    const bool busy = owner_->busy();
    if (busy == busyShown_) return;
    busyShown_ = busy;
    if (busy) {
        enabledBeforeBusy_.clear();
        for (int id : kRefusedWhileBusy) {
            enabledBeforeBusy_.emplace_back(id, IsWindowEnabled(control(id)) != FALSE);
            EnableWindow(control(id), FALSE);
        }
        return;
    }
    for (const auto& [id, enabled] : enabledBeforeBusy_) EnableWindow(control(id), enabled ? TRUE : FALSE);
    enabledBeforeBusy_.clear();
    // The task may have recorded an undo step.
    const UndoHistory& history = owner_->headlessEditor().history();
    undoStateChanged(history.canUndo(), history.canRedo());
}

void EditorWindow::followUndoState() {
    if (owner_->busy()) return;
    const UndoHistory& history = owner_->headlessEditor().history();
    if ((IsWindowEnabled(control(control::kUndo)) != FALSE) != history.canUndo() ||
        (IsWindowEnabled(control(control::kRedo)) != FALSE) != history.canRedo())
        undoStateChanged(history.canUndo(), history.canRedo());
}

void EditorWindow::applyTaskDrawing() {
    TaskDrawingQueue::Batch batch = taskDrawing_.take();
    bool drawn = false;
    if (layers_.created()) {
        HDC dc = layers_.spectrogramDc();
        for (const TaskDrawingQueue::Column& c : batch.columns) {
            const int x = c.column + 1;
            if (c.column < 0 || x >= layers_.width() - 1) continue;
            const int rows = static_cast<int>(c.colours.size());
            for (int y = 1; y <= rows && y <= layers_.height() - 2; ++y)
                SetPixel(dc, x, y, c.colours[static_cast<size_t>(y - 1)]);
            drawn = true;
        }
    }
    if (batch.progressChanged) showProgress(batch.progress);
    if (batch.curveChanged) {
        chartPending_ = true;
        boundsPending_ = batch.boundsShown;
        lowerRowPending_ = batch.lowerRow;
        upperRowPending_ = batch.upperRow;
    }
    frequencyViewPending_ = frequencyViewPending_ || batch.frequencyViewChanged;
    timeViewPending_ = timeViewPending_ || batch.timeViewChanged;
    // The curve, the store and the view fields are the task's until it ends.
    if (!owner_->busy()) {
        if (frequencyViewPending_) frequencyViewChanged();
        if (timeViewPending_) timeViewChanged();
        frequencyViewPending_ = timeViewPending_ = false;
        if (chartPending_) {
            chartPending_ = false;
            if (boundsPending_)
                drawCurveWithBounds(lowerRowPending_, upperRowPending_);
            else
                drawCurve();
            drawn = false;
        }
    }
    if (drawn) repaintPanel();
}

}  // namespace wowfix
