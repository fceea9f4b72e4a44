#pragma once

#include "host/NotificationHandler.h"
#include "host/PanelDrawing.h"
#include "pvc/FileSlotMap.h"
#include "pvc/UndoHistory.h"
#include "pvc/tools/EditArea.h"
#include "pvc/tools/EditTools.h"
#include "tasks/EditorPort.h"

#include <array>
#include <string>

namespace wowfix {

class OfflinePlugin;

// The editor's file handling and view for a plug-in used without its window:
// by a host with no screen, by scripts and by the tests. It keeps the open
// file, its channels and sample rate, the curve's undo state per file and
// the view the tasks read, exactly as the window's handling does, but it
// shows nothing. With nothing to draw, a new file starts no spectrogram pass
// by itself: tasks run when a script requests them (`requestTask`), from the
// host's next file notification.
class HeadlessEditor : public NotificationHandler, public EditorPort {
public:
    explicit HeadlessEditor(OfflinePlugin& plugin);

    // --- NotificationHandler -------------------------------------------------
    void handleNotification(VstAudioFile* files, int count) override;
    int notifyState() const override { return notifyState_; }
    double selectionStart() const override { return selectionStart_; }
    double selectionEnd() const override { return selectionEnd_; }

    // --- EditorPort ----------------------------------------------------------
    EditorView& view() override { return view_; }
    void drawColumn(int column) override;
    void drawCurve() override;
    void drawCurveWithBounds(int lowerRow, int upperRow) override;
    void frequencyViewChanged() override {
        if (drawing_ != nullptr) drawing_->frequencyViewChanged();
    }
    void timeViewChanged() override {
        if (drawing_ != nullptr) drawing_->timeViewChanged();
    }
    void showProgress(double percent) override;
    // Where tasks' drawing also goes: the editor's window when it is open.
    void setPanelDrawing(PanelDrawing* drawing) { drawing_ = drawing; }
    UndoHistory* undoHistory() override { return &history(); }

    // --- scripting -----------------------------------------------------------
    // Starts `mode` from the next notification and asks the host for one.
    // False only when the mode's detector cannot be set up.
    bool requestTask(int mode);
    int pendingTask() const { return pendingTask_; }
    // The undo history of the open file.
    UndoHistory& history();

    // The mouse tools over the spectrogram panel, as the window routes the
    // pointer to them. useTool selects `tool` when another one is selected
    // (false for an unknown number); pointer hands one event to the
    // selected tool: phase 0 press, 1 drag, 2 release, 3 hover. False for
    // another phase, or when no spectrogram has been laid out yet.
    bool useTool(int tool);
    bool pointer(int phase, int x, int y);
    const EditTools& tools() const { return tools_; }
    const EditArea& area() const { return area_; }
    void setArea(const EditArea& area) { area_ = area; }

    int columnsDrawn() const { return columnsDrawn_; }
    int curveDrawings() const { return curveDrawings_; }
    const std::string& fileName() const { return fileName_; }

private:
    void openNewFile(VstAudioFile* files, int count);
    void followOpenFile(const VstAudioFile& file);
    EditContext editContext();

    OfflinePlugin& plugin_;
    EditorView view_;
    int notifyState_ = 0;
    double selectionStart_ = 0.0;
    double selectionEnd_ = 0.0;
    double editCursor_ = 0.0;
    int pendingTask_ = 0;
    FileSlotMap slots_;
    std::array<UndoHistory, FileSlotMap::slotCount> histories_{};
    std::string fileName_;
    EditTools tools_;
    EditArea area_;
    int columnsDrawn_ = 0;
    int curveDrawings_ = 0;
    double progress_ = -1.0;
    PanelDrawing* drawing_ = nullptr;
};

}  // namespace wowfix
