#pragma once

#include "host/HandshakeDisplay.h"
#include "host/NotificationHandler.h"
#include "host/PanelDrawing.h"
#include "pvc/FileSlotMap.h"
#include "pvc/UndoHistory.h"
#include "pvc/tools/EditArea.h"
#include "pvc/tools/EditTools.h"
#include "tasks/EditorPort.h"

#include <array>
#include <atomic>
#include <chrono>
#include <string>

namespace wowfix {

class OfflinePlugin;

// The editor's file handling and the task handshake, shared by the window
// and by sessions without one (a host with no screen, scripts, tests). It
// keeps the open file, its channels and sample rate, the curve's undo state
// per file and the view the tasks read, and starts the requested tasks from
// the host's file notifications. The window, when open, shows the start
// picture, the undo buttons, the cursor and the selection through its
// HandshakeDisplay and the tasks' drawing through its PanelDrawing. Without
// a window the handshake is working from the first notification, and a new
// file starts no spectrogram pass by itself: passes run when requested.
class HeadlessEditor : public NotificationHandler, public EditorPort {
public:
    using Clock = std::chrono::steady_clock;
    // A request the host has not answered for this long is sent again once,
    // then dropped.
    static constexpr std::chrono::milliseconds kAnswerTimeout{1500};

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
    void setDisplay(HandshakeDisplay* display) { display_ = display; }
    UndoHistory* undoHistory() override { return &history(); }

    // --- requests ----------------------------------------------------------
    // Asks for a task: 8 a spectrogram pass over the requested range (as
    // requestPass), 1 a pass over the whole file, 3, 4, 5, 7 and 9 that task
    // from the next notification; the host is asked for one. False while a
    // task runs, for another mode, or when the mode's detector cannot be set
    // up (the reason is the plug-in's last message).
    bool requestTask(int mode);
    // The next notification runs a spectrogram pass; the host is asked for one.
    void requestPass();
    // The curve file `path` is loaded by the next pass; it becomes one undo
    // step once its snapshot is written, and a file that cannot be read
    // leaves the curve as it was (with a message). False while a task runs.
    bool requestImport(const std::string& path);
    bool recomputePending() const { return recomputePending_; }
    // The request waiting for a notification: 8 for a pass, else the task's
    // mode, 1 for a whole-file pass; 0 for none.
    int pendingTask() const;

    // --- the window's life ---------------------------------------------------
    // A window was opened: the start picture comes with the next notification.
    void windowOpened() {
        notifyState_ = 0;
        windowOpen_ = true;
    }
    void windowClosed() { windowOpen_ = false; }
    // The user's first click on the start picture: working from now on; the
    // host is asked for its files, and a file already open gets a pass so
    // that its spectrogram replaces the picture.
    void startWorking();
    // A script stands in for the user: working without the first click and
    // without the pass the click asks for.
    void workWithoutClick();
    // Every undo snapshot is gone: histories, the registry's counts and the
    // curve's counter start again, Undo and Redo are disabled. While a task
    // runs this happens when it ends.
    void deleteSnapshots();
    // Called regularly on the user-interface thread: a request the host has
    // not answered is sent again, later dropped; a notification missed while
    // a task ran is asked for again.
    void idle() { idle(Clock::now()); }
    void idle(Clock::time_point now);
    // The plug-in's task has ended (on the thread that ran it).
    void taskFinished();

    // The undo history of the open file, and of any file slot (a number
    // outside the slots gives slot 0).
    UndoHistory& history();
    UndoHistory& historyOfSlot(int slot);

    // The mouse tools over the spectrogram panel, as the window routes the
    // pointer to them. useTool selects `tool` when another one is selected
    // (false for an unknown number); pointer hands one event to the
    // selected tool: phase 0 press, 1 drag, 2 release, 3 hover. False for
    // another phase, while a task runs, or when no spectrogram has been laid
    // out yet.
    bool useTool(int tool);
    bool pointer(int phase, int x, int y);
    const EditTools& tools() const { return tools_; }
    const EditArea& area() const { return area_; }
    void setArea(const EditArea& area) { area_ = area; }

    int columnsDrawn() const { return columnsDrawn_; }
    int curveDrawings() const { return curveDrawings_; }
    const std::string& fileName() const { return fileName_; }
    double editCursor() const { return editCursor_; }
    bool firstPassDone() const { return firstPassDone_; }

private:
    void handle(VstAudioFile* files, int count);
    void closeAllFiles();
    void openNewFile(VstAudioFile* files, int count);
    void followOpenFile(const VstAudioFile& file);
    // Starts `mode` on the files; true when the host took it.
    bool start(VstAudioFile* files, int count, int mode);
    // True, noting that the host must be asked again, while a started task
    // is still running.
    bool stillRunning();
    void requery();
    void beginWorking();
    void showUndoState();
    void resetSnapshotState(bool showUndo);
    bool windowShowing() const { return display_ != nullptr && display_->showing(); }
    EditContext editContext();

    OfflinePlugin& plugin_;
    EditorView view_;
    int notifyState_ = 0;
    bool firstPassDone_ = false;
    bool recomputePending_ = false;
    bool wholePassPending_ = false;
    int requestedTask_ = 0;
    // A pass has run on the open file, so its rate and channels are known
    // to the store.
    bool passRun_ = false;
    double selectionStart_ = 0.0;
    double selectionEnd_ = 0.0;
    double editCursor_ = 0.0;
    // The handler is running; a notification from inside it is not handled.
    std::atomic<bool> handling_{false};
    bool requeryAtEnd_ = false;
    std::atomic<bool> missedNotification_{false};
    std::atomic<bool> requeryAfterTask_{false};
    std::atomic<bool> windowOpen_{false};
    std::atomic<bool> snapshotsDeletePending_{false};
    // When the unanswered request was sent, and whether it was sent again.
    bool awaitingAnswer_ = false;
    bool resent_ = false;
    Clock::time_point askedAt_{};
    FileSlotMap slots_;
    std::array<UndoHistory, FileSlotMap::slotCount> histories_{};
    std::string fileName_;
    EditTools tools_;
    EditArea area_;
    std::atomic<int> columnsDrawn_{0};
    std::atomic<int> curveDrawings_{0};
    PanelDrawing* drawing_ = nullptr;
    HandshakeDisplay* display_ = nullptr;
};

}  // namespace wowfix
