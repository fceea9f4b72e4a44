// The editor window's commands that make or change the curve as a whole:
// "Create PVC", "Show Hum", "Import PVC", "Export PVC", "Undo" and "Redo".
#include "editor/AlgorithmMessages.h"
#include "editor/ControlValues.h"
#include "editor/EditorWindow.h"
#include "editor/win32/ScriptedAnswers.h"

#include "host/HeadlessEditor.h"
#include "host/OfflinePlugin.h"
#include "host/TaskMode.h"
#include "pvc/PvcCurve.h"
#include "pvc/UndoSteps.h"
#include "spectral/SpectrogramStore.h"
#include "tasks/ProcessingLibrary.h"

#include <cmath>
#include <cstring>
#include <optional>
#include <string>

namespace wowfix {

namespace {

// Copies `text` into the dialog's name buffer, cut so that its terminating
// zero still fits.
void fillName(std::array<char, 260>& name, const std::string& text) {
    const size_t n = text.size() < name.size() - 1 ? text.size() : name.size() - 1;
    std::memcpy(name.data(), text.data(), n);
    name[n] = '\0';
}

// The folder of `path`, empty for a bare name.
std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string currentFolder() {
    char buffer[260] = {};
    const DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer) : std::string();
}

// The file dialog of "Import PVC" and "Export PVC" on `name`, opening in
// `folder` (or where the system chooses when it is empty).
OPENFILENAMEA pvcFileDialog(HWND owner, std::array<char, 260>& name, const std::string& folder, const char* filter,
                            const char* title, DWORD flags) {
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = title;
    dialog.Flags = flags;
    dialog.lpstrDefExt = "pvc";
    return dialog;
}

}  // namespace

bool EditorWindow::curveCommand(int id) {
    switch (id) {
    case 40: createPvc(); return true;
    case 56: showHum(); return true;
    case 64: switchLibrarySet(); return true;
    case 73: importCurve(); return true;
    case 74: exportCurve(); return true;
    case 78: undoOrRedo(false); return true;
    case 79: undoOrRedo(true); return true;
    default: return false;
    }
}

void EditorWindow::resetTimeToSelection() {
    EditorView& view = owner_->headlessEditor().view();
    const double total = view.totalSamples;
    view.viewOrigin = 0.0;
    view.rangeStart = 0.0;
    view.rangeEnd = total;
    view.timeCentre = total / 2.0;
    view.timeHalfSpan = total / 2.0;
    updateTimeBar();
    showTimeLabels(0.0, total);
}

void EditorWindow::redrawCurve() {
    PvcCurve& curve = owner_->curve();
    if (curve.length() > 0) curve.layout(owner_->spectrogram());
    drawCurve();
}

void EditorWindow::createPvc() {
    ShowWindow(control(control::kProgress), SW_SHOW);
    HeadlessEditor& headless = owner_->headlessEditor();
    if (algorithm_ == kSpectralDetection && !preciseChosen()) {
        // Built from the previewed result at once, without a task.
        if (!owner_->createSpectralPvc()) {
            showMessageBox(mainWindow_, owner_->lastMessage().c_str(), message::kInfoTitle, MB_OK | MB_ICONSTOP);
        } else {
            const UndoHistory& history = headless.history();
            undoStateChanged(history.canUndo(), history.canRedo());
        }
        ShowWindow(control(control::kProgress), SW_HIDE);
        return;
    }
    // The other detectors run as a task over the whole selection (the
    // precise partial tracker within the marked area, when there is one).
    if (algorithm_ != kLibraryDetection && algorithm_ != kPilotToneTracking && algorithm_ != kSpectralDetection) {
        ShowWindow(control(control::kProgress), SW_HIDE);
        return;
    }
    owner_->setUseRuntimeLibrary(false);
    if (owner_->spectrogram().fftLength() != headless.view().resolution) {
        owner_->taskState().settingsChanged = true;
        EnableWindow(control(11), TRUE);
    }
    resetTimeToSelection();
    // The request makes the detector anew with the user's settings.
    if (!headless.requestTask(algorithm_)) {
        ShowWindow(control(control::kProgress), SW_HIDE);
        showInfo(owner_->lastMessage().c_str());
    }
}

void EditorWindow::showHum() {
    ShowWindow(control(control::kProgress), SW_SHOW);
    HeadlessEditor& headless = owner_->headlessEditor();
    if (algorithm_ != kLibraryDetection) {
        ShowWindow(control(control::kProgress), SW_HIDE);
        return;
    }
    EnableWindow(control(11), FALSE);
    owner_->setUseRuntimeLibrary(true);
    ProcessingLibrary& library = owner_->processingLibrary();
    setText(control(20), "0");
    if (library.numParams() > 2) setText(control(19), std::to_string(static_cast<long long>(std::trunc(library.display(2)))));
    resetTimeToSelection();
    if (!headless.requestTask(algorithm_)) {
        owner_->setUseRuntimeLibrary(false);
        ShowWindow(control(control::kProgress), SW_HIDE);
        showInfo(owner_->lastMessage().c_str());
    }
}

void EditorWindow::importCurve() {
    if (importFolder_.empty()) importFolder_ = currentFolder();
    OPENFILENAMEA dialog = pvcFileDialog(mainWindow_, importName_, importFolder_, "PVC Files\0*.pvc\0All Files\0*.*\0",
                                         "Open PVC File", OFN_FILEMUSTEXIST | OFN_HIDEREADONLY);
    if (!showOpenFileDialog(&dialog)) return;
    const std::string path(importName_.data());
    if (const std::string folder = folderOf(path); !folder.empty()) importFolder_ = folder;
    HeadlessEditor& headless = owner_->headlessEditor();
    const int keptTool = tool_;
    const double keptOrigin = headless.view().viewOrigin;
    if (owner_->spectrogram().fftLength() != headless.view().resolution) owner_->taskState().settingsChanged = true;
    positionBeforeImport_ = headless.history().position();
    importWaiting_ = true;
    importScripted_ = ScriptedActionScope::active();
    // The pass loads the file; it records the undo step once the file was
    // read and its snapshot written.
    setTaskMode(kViewAcquisition);
    if (!headless.requestImport(path)) {
        importWaiting_ = false;
        showMessageBox(mainWindow_, owner_->lastMessage().c_str(), message::kInfoTitle, MB_OK | MB_ICONSTOP);
    }
    setTaskMode(algorithm_);
    tool_ = keptTool;
    headless.view().viewOrigin = keptOrigin;
    followImport();
}

void EditorWindow::followImport() {
    if (!importWaiting_ || owner_->busy() || owner_->taskState().viewSnapshotPending) return;
    importWaiting_ = false;
    std::optional<ScriptedActionScope> scripted;
    if (importScripted_) scripted.emplace();
    const UndoHistory& history = owner_->headlessEditor().history();
    undoStateChanged(history.canUndo(), history.canRedo());
    if (history.position() > positionBeforeImport_) return;
    const std::string& reason = owner_->lastMessage();
    showMessageBox(mainWindow_, reason.empty() ? message::kImportFailed : reason.c_str(), message::kInfoTitle,
                   MB_OK | MB_ICONSTOP);
}

void EditorWindow::exportCurve() {
    PvcCurve& curve = owner_->curve();
    fillName(exportName_, curve.filePath());
    // A save dialog must accept a new name; an existing file is replaced
    // only when the user agrees.
    OPENFILENAMEA dialog = pvcFileDialog(mainWindow_, exportName_, exportFolder_, "PVC Files\0*.pvc\0", "Save PVC File",
                                         OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY);
    if (!showSaveFileDialog(&dialog)) return;
    const std::string path(exportName_.data());
    if (const std::string folder = folderOf(path); !folder.empty()) exportFolder_ = folder;
    // The curve is written beside the file and replaces it only when whole.
    if (curve.savePvc(path, true)) return;
    const std::string text = "The curve could not be written to \"" + path + "\"; a file already there is unchanged.";
    showMessageBox(mainWindow_, text.c_str(), message::kInfoTitle, MB_OK | MB_ICONSTOP);
}

void EditorWindow::undoOrRedo(bool redo) {
    PvcCurve& curve = owner_->curve();
    UndoHistory& history = owner_->headlessEditor().history();
    // The history moves only when its snapshot could be loaded.
    if (redo ? redoStep(curve, history) : undoStep(curve, history)) redrawCurve();
    undoStateChanged(history.canUndo(), history.canRedo());
}

}  // namespace wowfix
