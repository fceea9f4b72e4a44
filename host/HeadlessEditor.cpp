#include "host/HeadlessEditor.h"

#include "host/OfflinePlugin.h"
#include "host/TaskMode.h"
#include "pvc/tools/EditContext.h"

#include <cstring>

namespace wowfix {

HeadlessEditor::HeadlessEditor(OfflinePlugin& plugin) : plugin_(plugin) {}

UndoHistory& HeadlessEditor::history() {
    const int slot = plugin_.curve().fileSlot();
    return histories_[static_cast<size_t>(slot >= 0 && slot < FileSlotMap::slotCount ? slot : 0)];
}

EditContext HeadlessEditor::editContext() {
    return EditContext{plugin_.curve(), plugin_.spectrogram(), &history(), area_,
                       static_cast<int>(view_.viewOrigin), view_.panelWidth};
}

bool HeadlessEditor::useTool(int tool) {
    if (tool == tools_.selected()) return true;
    EditContext context = editContext();
    return tools_.select(context, tool);
}

bool HeadlessEditor::pointer(int phase, int x, int y) {
    if (!plugin_.spectrogram().laidOut() || !plugin_.pvcReady()) return false;
    EditContext context = editContext();
    switch (phase) {
        case 0: tools_.press(context, x, y); return true;
        case 1: tools_.drag(context, x, y); return true;
        case 2: tools_.release(context, x, y); return true;
        case 3: tools_.hover(context, x, y); return true;
        default: return false;
    }
}

bool HeadlessEditor::requestTask(int mode) {
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
    pendingTask_ = mode;
    plugin_.setTaskMode(static_cast<float>(mode));
    plugin_.requeryFiles();
    return true;
}

void HeadlessEditor::handleNotification(VstAudioFile* files, int count) {
    OfflinePlugin& plugin = plugin_;
    if (files == nullptr || count < 1) {
        if (plugin.fileRegistry().previousFileCount() > 0) {
            plugin.closeFile();
            plugin.curve().resetSnapshots();
            plugin.curve().deleteAllSnapshots();
        }
        return;
    }
    // Without a window there is no start picture to click away.
    notifyState_ = 2;
    const VstAudioFile& file = files[0];
    if (plugin.fileRegistry().isOtherFile(file.uniqueId))
        openNewFile(files, count);
    else
        followOpenFile(file);
    fileName_.assign(file.name, strnlen(file.name, sizeof file.name));
    editCursor_ = file.editCursorPosition;

    const int mode = pendingTask_;
    if (mode != kNoTask) {
        pendingTask_ = kNoTask;
        plugin.startTask(files, count, mode);
        plugin.setTaskMode(static_cast<float>(restingModeAfter(mode)));
    } else {
        selectionStart_ = file.selectionStart;
        selectionEnd_ = file.selectionStart + file.selectionSize;
    }
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
    if (reused) histories_[static_cast<size_t>(slot)].reset();
    curve.setFileSlot(slot);
    UndoHistory& slotHistory = histories_[static_cast<size_t>(slot)];
    if (kept == 0 || reused) {
        const std::string name(file.name, strnlen(file.name, sizeof file.name));
        plugin.setPvcPath(curve.tempCurvePath(name));
        curve.setSnapshotState(0, 0);
    } else {
        plugin.setPvcPath(curve.snapshotPath(slotHistory.position()));
        curve.setSnapshotState(slotHistory.position(), kept);
    }
    state.sampleRatePending = true;
}

void HeadlessEditor::followOpenFile(const VstAudioFile& file) {
    TaskState& state = plugin_.taskState();
    if (file.numChannels != state.channels) {
        state.channels = file.numChannels;
        plugin_.curve().setChannelCount(file.numChannels);
    }
    state.sampleRatePending = static_cast<float>(file.sampleRate) != plugin_.spectrogram().sampleRate();
}

void HeadlessEditor::drawColumn(int column) {
    ++columnsDrawn_;
    if (drawing_ != nullptr) drawing_->drawColumn(column);
}

void HeadlessEditor::drawCurve() {
    ++curveDrawings_;
    if (drawing_ != nullptr) drawing_->drawCurve();
}

void HeadlessEditor::drawCurveWithBounds(int lowerRow, int upperRow) {
    ++curveDrawings_;
    if (drawing_ != nullptr) drawing_->drawCurveWithBounds(lowerRow, upperRow);
}

void HeadlessEditor::showProgress(double percent) {
    progress_ = percent;
    if (drawing_ != nullptr) drawing_->showProgress(percent);
}

}  // namespace wowfix
