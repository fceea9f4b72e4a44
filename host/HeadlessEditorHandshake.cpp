// The task handshake: requests, the host's file notifications, and what
// happens when the host does not answer or a task is running.
#include "host/HeadlessEditor.h"

#include "host/OfflinePlugin.h"
#include "host/TaskMode.h"

#include <cmath>
#include <cstring>

namespace wowfix {

namespace {

bool startedFromNotification(int mode) {
    return mode == kLibraryDetection || mode == kPilotToneTracking || mode == kCentreOfGravity ||
           mode == kSpectralDetection || mode == kSetSelection;
}

}  // namespace

// --- requests -----------------------------------------------------------------

int HeadlessEditor::pendingTask() const {
    if (recomputePending_) return kViewAcquisition;
    if (requestedTask_ != kNoTask) return requestedTask_;
    return wholePassPending_ ? kWholeFileAcquisition : kNoTask;
}

void HeadlessEditor::requestPass() {
    // The state changes first: a host that notifies from inside the query
    // finds the pass pending.
    recomputePending_ = true;
    if (plugin_.busy()) {
        // Asked for again when the running task ends.
        missedNotification_ = true;
        return;
    }
    requery();
}

bool HeadlessEditor::requestImport(const std::string& path) {
    if (plugin_.busy()) {
        plugin_.taskState().message = "A task is running; wait until it has finished.";
        return false;
    }
    plugin_.setPvcPath(path);
    plugin_.taskState().viewSnapshotPending = true;
    requestPass();
    return true;
}

bool HeadlessEditor::requestTask(int mode) {
    if (plugin_.busy()) {
        plugin_.taskState().message = "A task is running; wait until it has finished.";
        return false;
    }
    if (mode == kViewAcquisition) {
        requestPass();
        return true;
    }
    if (mode == kWholeFileAcquisition) {
        wholePassPending_ = true;
        requery();
        return true;
    }
    if (!startedFromNotification(mode)) return false;
    // Every run starts with a fresh detector carrying the user's settings.
    if (mode == kPilotToneTracking && !plugin_.createToneTracker()) return false;
    if (mode == kLibraryDetection && !plugin_.createLibraryInstance()) return false;
    // The precise partial tracker works on the whole file when no area is marked.
    if (mode == kSpectralDetection && !plugin_.preciseDetectors().enabled()) {
        if (!area_.selected) {
            plugin_.taskState().message = "Najpierw zaznacz obszar przetwarzania";
            return false;
        }
        if (!plugin_.createSpectralDetector()) return false;
        // A fresh analysis starts unfiltered.
        plugin_.spectralDetector()->setParameter(2, 0.0f);
    }
    // A second request before the notification replaces the first: one
    // task starts.
    requestedTask_ = mode;
    plugin_.setTaskMode(static_cast<float>(mode));
    requery();
    return true;
}

void HeadlessEditor::requery() {
    awaitingAnswer_ = true;
    askedAt_ = Clock::now();
    plugin_.requeryFiles();
}

void HeadlessEditor::workWithoutClick() {
    if (notifyState_ < 2) beginWorking();
}

void HeadlessEditor::beginWorking() {
    notifyState_ = 2;
    if (windowShowing()) display_->showWorkingControls();
}

void HeadlessEditor::startWorking() {
    if (notifyState_ >= 2) return;
    beginWorking();
    // Reopened on a file the editor already knows: no new file will come to
    // start the first pass, so the click asks for one.
    if (plugin_.fileRegistry().hasOpenFile()) recomputePending_ = true;
    requery();
}

void HeadlessEditor::idle(Clock::time_point now) {
    plugin_.giveUpUnpreparedTask(now, kAnswerTimeout * 2);
    if (plugin_.busy() || handling_) return;
    if (requeryAfterTask_.exchange(false)) {
        requery();
        return;
    }
    if (!awaitingAnswer_ || now - askedAt_ < kAnswerTimeout) return;
    if (pendingTask() != kNoTask && !resent_) {
        resent_ = true;
        requery();
        askedAt_ = now;
        return;
    }
    awaitingAnswer_ = false;
    resent_ = false;
    if (pendingTask() == kNoTask) return;
    // The host does not answer: the request is dropped rather than left to
    // start at some notification much later.
    recomputePending_ = false;
    wholePassPending_ = false;
    requestedTask_ = kNoTask;
    plugin_.setTaskMode(static_cast<float>(kCorrection));
    plugin_.taskState().message = "The host did not answer; the task was not started.";
    showProgress(-1.0);
}

void HeadlessEditor::taskFinished() {
    // On the task's thread the buttons are left to the window, which shows
    // the undo state again once the task has ended.
    if (snapshotsDeletePending_.exchange(false)) resetSnapshotState(false);
    if (missedNotification_.exchange(false)) requeryAfterTask_ = true;
    // Inside the handler, it asks again itself; with a window, its idle does.
    if (handling_ || windowOpen_) return;
    if (requeryAfterTask_.exchange(false)) plugin_.requeryFiles();
}

// --- snapshots ------------------------------------------------------------------

void HeadlessEditor::deleteSnapshots() {
    if (plugin_.busy()) {
        snapshotsDeletePending_ = true;
        return;
    }
    resetSnapshotState(true);
}

void HeadlessEditor::resetSnapshotState(bool showUndo) {
    PvcCurve& curve = plugin_.curve();
    curve.resetSnapshots();
    curve.deleteAllSnapshots();
    // Nothing may point at a deleted snapshot any more.
    for (UndoHistory& h : histories_) h.reset();
    plugin_.fileRegistry().forgetSnapshotCounts();
    if (showUndo) showUndoState();
}

void HeadlessEditor::showUndoState() {
    if (!windowShowing()) return;
    const UndoHistory& h = history();
    display_->undoStateChanged(h.canUndo(), h.canRedo());
}

// --- notifications --------------------------------------------------------------

void HeadlessEditor::handleNotification(VstAudioFile* files, int count) {
    // From inside a running task (a host that notifies from its reads) or
    // from inside this handler: nothing is started twice; the host is asked
    // again once the task has ended.
    if (handling_ || plugin_.busy()) {
        missedNotification_ = true;
        return;
    }
    handling_ = true;
    requeryAtEnd_ = false;
    awaitingAnswer_ = false;
    resent_ = false;
    handle(files, count);
    handling_ = false;
    if (requeryAtEnd_ || requeryAfterTask_.exchange(false)) requery();
}

void HeadlessEditor::handle(VstAudioFile* files, int count) {
    OfflinePlugin& plugin = plugin_;
    if (files == nullptr || count < 1) {
        closeAllFiles();
        return;
    }
    if (windowShowing() && notifyState_ < 2) {
        display_->showStartPicture(notifyState_ == 0);
        notifyState_ = 1;
        return;
    }
    if (windowShowing()) display_->leaveStartPicture();
    notifyState_ = 2;
    // The request found on entry; the passes below do not replace it.
    const int requested = requestedTask_;
    const VstAudioFile& file = files[0];
    if (plugin.fileRegistry().isOtherFile(file.uniqueId))
        openNewFile(files, count);
    else
        followOpenFile(file);
    fileName_.assign(file.name, strnlen(file.name, sizeof file.name));

    if (!firstPassDone_ || wholePassPending_) {
        firstPassDone_ = true;
        wholePassPending_ = false;
        editCursor_ = file.editCursorPosition;
        start(files, count, kWholeFileAcquisition);
        if (stillRunning()) return;
    }
    if (recomputePending_) {
        recomputePending_ = false;
        if (start(files, count, kViewAcquisition)) requeryAtEnd_ = true;
        if (stillRunning()) return;
    }
    if (file.editCursorPosition != editCursor_) {
        editCursor_ = file.editCursorPosition;
        if (windowShowing()) display_->editCursorMoved(editCursor_);
    }
    if (startedFromNotification(requested)) {
        requestedTask_ = kNoTask;
        if (start(files, count, requested)) requeryAtEnd_ = true;
        return;
    }
    selectionStart_ = file.selectionStart;
    selectionEnd_ = file.selectionStart + file.selectionSize;
    if (windowShowing()) display_->selectionChanged(selectionStart_, selectionEnd_);
}

bool HeadlessEditor::stillRunning() {
    if (!plugin_.busy()) return false;
    // The host runs the task on a thread of its own: the view, the curve and
    // the store are the task's until it ends, and the rest of this
    // notification waits for the one after it.
    missedNotification_ = true;
    requeryAtEnd_ = false;
    // Should the task end before the note is read, idle asks again.
    awaitingAnswer_ = true;
    askedAt_ = Clock::now();
    return true;
}

bool HeadlessEditor::start(VstAudioFile* files, int count, int mode) {
    std::string& message = plugin_.taskState().message;
    const std::string before = message;
    if (plugin_.startTask(files, count, mode)) {
        if (mode == kWholeFileAcquisition || mode == kViewAcquisition) passRun_ = true;
        return true;
    }
    // A host may answer false for a task that ran and failed; its reason stays.
    if (message == before) message = "The host did not start the task.";
    showProgress(-1.0);
    return false;
}

void HeadlessEditor::closeAllFiles() {
    // What was asked for belongs to the file that has gone.
    if (pendingTask() != kNoTask) plugin_.setTaskMode(static_cast<float>(kCorrection));
    recomputePending_ = wholePassPending_ = false;
    requestedTask_ = kNoTask;
    OpenFileRegistry& registry = plugin_.fileRegistry();
    if (registry.previousFileCount() < 1 && !registry.hasOpenFile()) return;
    plugin_.closeFile();
    slots_.clear();
    passRun_ = false;
    deleteSnapshots();
}

void HeadlessEditor::openNewFile(VstAudioFile* files, int count) {
    OfflinePlugin& plugin = plugin_;
    OpenFileRegistry& registry = plugin.fileRegistry();
    PvcCurve& curve = plugin.curve();
    registry.setFileCount(count);
    for (int i = 0; i < count; ++i) registry.setFileId(i, files[i].uniqueId);
    if (registry.previousFileCount() < 1)
        registry.setOpenFile(files[0].uniqueId);
    else
        registry.rememberSnapshotCount(registry.openFileId, curve.snapshotCount());
    registry.rebuildFileTable();
    registry.setOpenFile(files[0].uniqueId);
    const int kept = registry.snapshotCountOf(registry.openFileId);

    const VstAudioFile& file = files[0];
    TaskState& state = plugin.taskState();
    state.channels = file.numChannels;
    curve.setChannelCount(file.numChannels);

    bool reused = false;
    const int slot = slots_.slotOf(file.uniqueId, &reused);
    // A slot taken over from a file left long ago starts a new history; its
    // old snapshot files are overwritten by the new numbers.
    if (reused) historyOfSlot(slot).reset();
    curve.setFileSlot(slot);
    const UndoHistory& slotHistory = historyOfSlot(slot);
    if (kept == 0 || reused) {
        const std::string name(file.name, strnlen(file.name, sizeof file.name));
        plugin.setPvcPath(curve.tempCurvePath(name));
        curve.setSnapshotState(0, 0);
    } else {
        plugin.setPvcPath(curve.snapshotPath(slotHistory.position()));
        curve.setSnapshotState(slotHistory.position(), kept);
    }
    showUndoState();
    // Without a window there is nothing to show the first pass in.
    firstPassDone_ = !windowShowing();
    passRun_ = false;
    state.sampleRatePending = true;
    if (windowShowing()) display_->newFileOpened();
}

void HeadlessEditor::followOpenFile(const VstAudioFile& file) {
    TaskState& state = plugin_.taskState();
    if (file.numChannels != state.channels) {
        state.channels = file.numChannels;
        plugin_.curve().setChannelCount(file.numChannels);
        if (passRun_) recomputePending_ = true;
    }
    // The store keeps the rate as a float; whole hertz are compared, so a
    // rate of 44100.5 matches itself.
    const bool rateDiffers =
        std::trunc(file.sampleRate) != std::trunc(static_cast<double>(plugin_.spectrogram().sampleRate()));
    state.sampleRatePending = rateDiffers;
    if (rateDiffers && passRun_) recomputePending_ = true;
}

}  // namespace wowfix
