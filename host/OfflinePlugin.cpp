#include "host/OfflinePlugin.h"

#include "editor/EditorWindow.h"
#include "host/HeadlessEditor.h"
#include "host/TaskMode.h"
#include "pvc/UndoHistory.h"
#include "sdk/AEffEditor.h"
#include "sdk/Float2String.h"
#include "sdk/StringCopy.h"
#include "tasks/AcquisitionTask.h"
#include "tasks/CorrectionTask.h"
#include "tasks/LibraryDetectionTask.h"
#include "tasks/PilotToneTask.h"
#include "tasks/SpectralDetectionTask.h"
#include "tasks/PreciseDetectionTask.h"
#include "tasks/RuntimeModule.h"
#include "tasks/SelectionTask.h"

#include <cstring>
#include <new>

namespace wowfix {

OfflinePlugin::OfflinePlugin(audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, 1, 1), programs_(1), library_(paramStore_, RuntimeModule::ownFolder()),
      hostPort_(*this),
      headless_(std::make_unique<HeadlessEditor>(*this)) {
    setProgram(0);
    setUniqueID(kUniqueId);
    notifications_ = headless_.get();
    editorPort_ = headless_.get();
    // Each instance keeps its undo snapshots in a folder of its own; when it
    // cannot be made the curve works without undo and says why.
    if (!pvc_.openTempFolder()) state_.message = pvc_.undoMessage();
    // Without a window to open, the store takes the editor's opening
    // settings now.
    applyDefaultSpectrogramSettings();
    // The editor window; the host sees the has-editor flag.
    auto* window = new (std::nothrow) EditorWindow(this, this);
    if (window != nullptr) {
        setEditor(window);
        headless_->setPanelDrawing(window);
        headless_->setDisplay(window);
    }
}

EditorWindow* OfflinePlugin::editorWindow() { return static_cast<EditorWindow*>(editor); }

OfflinePlugin::~OfflinePlugin() {
    // The editor goes first, while the curve, the store and the algorithms
    // it works on still exist; the base then finds no editor to delete.
    headless_->setPanelDrawing(nullptr);
    headless_->setDisplay(nullptr);
    setEditor(nullptr);
    destroyToneTracker();
    destroySpectralDetector();
    releaseLibraryInstance();
    pvc_.removeTempFolder();
}

// --- parameter and programs ---------------------------------------------------

void OfflinePlugin::setParameter(VstInt32 /*index*/, float value) {
    current_.taskMode = value;
    current_.path = state_.pvcPath;
    if (editor != nullptr) editor->postUpdate();
}

float OfflinePlugin::getParameter(VstInt32 index) { return index == 0 ? current_.taskMode : 0.0f; }

void OfflinePlugin::process(float** /*inputs*/, float** /*outputs*/, VstInt32 /*frames*/) {}

void OfflinePlugin::setProgram(VstInt32 program) {
    if (program < 0 || program >= numPrograms || static_cast<size_t>(program) >= programs_.size()) return;
    if (curProgram >= 0 && static_cast<size_t>(curProgram) < programs_.size())
        programs_[static_cast<size_t>(curProgram)] = current_;
    curProgram = program;
    current_ = programs_[static_cast<size_t>(program)];
    if (editor != nullptr) editor->postUpdate();
}

void OfflinePlugin::setProgramName(const char* name) {
    if (name == nullptr) return;
    copyText(current_.name, name, sizeof current_.name);
}

void OfflinePlugin::getProgramName(char* name) {
    if (name != nullptr) copyText(name, current_.name, kVstMaxProgNameLen);
}

void OfflinePlugin::getParameterLabel(VstInt32 index, char* label) {
    if (index == 0 && label != nullptr) copyText(label, " Type ", kVstMaxParamStrLen + 1);
}

void OfflinePlugin::getParameterDisplay(VstInt32 index, char* text) {
    if (index == 0 && text != nullptr) float2string(current_.taskMode, text, kVstMaxParamStrLen);
}

void OfflinePlugin::getParameterName(VstInt32 index, char* text) {
    if (index == 0 && text != nullptr) copyText(text, "Type", kVstMaxParamStrLen + 1);
}

VstInt32 OfflinePlugin::canDo(const char* text) {
    if (text == nullptr) return 0;
    if (std::strcmp(text, "offline") == 0 || std::strcmp(text, "noRealTime") == 0) return 1;
    return AudioEffectX::canDo(text);
}

// --- editor operations ----------------------------------------------------------

void OfflinePlugin::setPvcPath(const std::string& path) {
    state_.pvcPath = path;
    state_.pvcReady = false;
}

void OfflinePlugin::applyDefaultSpectrogramSettings() {
    const EditorView& view = editorPort_->view();
    spectrogram_.reset();
    spectrogram_.setFftLength(1024);
    spectrogram_.setSampleRate(22050.0f);
    spectrogram_.setColumnCount(view.panelWidth - 2);
    spectrogram_.setRowCount(view.panelHeight - 1);
    spectrogram_.setWindowType(2);
    spectrogram_.rebuildWindow();
    spectrogram_.allocateColumns();
    spectrogram_.resetFrequencyZoom();
    spectrogram_.setDbRange(120.0f);
    spectrogram_.setLowDb(12.0f);
    spectrogram_.setHighDb(105.0f);
}

bool OfflinePlugin::createToneTracker() {
    const float fs = spectrogram_.sampleRate();
    if (!(fs >= 24000.0f)) {
        state_.message = "Sampling frequency is too low! Please, select another algorithm.";
        return false;
    }
    destroyToneTracker();
    try {
        toneTracker_ = std::make_unique<ToneTracker>(fs);
    } catch (const std::bad_alloc&) {
        state_.message = "The pilot-tone tracker could not be set up.";
        return false;
    }
    paramStore_.restoreParameters(DetectorParamStore::toneTrackerSlot, *toneTracker_);
    return true;
}

void OfflinePlugin::destroyToneTracker() {
    if (toneTracker_ == nullptr) return;
    paramStore_.rememberParameters(DetectorParamStore::toneTrackerSlot, *toneTracker_);
    toneTracker_.reset();
}

bool OfflinePlugin::createSpectralDetector() {
    destroySpectralDetector();
    try {
        spectralDetector_ = std::make_unique<SDPvc>();
    } catch (const std::bad_alloc&) {
        state_.message = "Could not init SDPvc! Please, select another algorithm.";
        return false;
    }
    paramStore_.restoreParameters(DetectorParamStore::sdPvcSlot, *spectralDetector_);
    return true;
}

void OfflinePlugin::destroySpectralDetector() {
    if (spectralDetector_ == nullptr) return;
    paramStore_.rememberParameters(DetectorParamStore::sdPvcSlot, *spectralDetector_);
    spectralDetector_.reset();
}

bool OfflinePlugin::createSpectralPvc() {
    TaskContext context = taskContext();
    return wowfix::createSpectralPvc(context, spectralDetector_.get());
}

bool OfflinePlugin::createLibraryInstance() {
    if (library_.createLibraryInstance(spectrogram_.sampleRate())) return true;
    state_.message = library_.message();
    return false;
}

bool OfflinePlugin::releaseLibraryInstance() { return library_.releaseLibraryInstance(); }

bool OfflinePlugin::startTask(VstAudioFile* files, VstInt32 count, int mode) {
    if (files == nullptr || count < 1 || busy()) return false;
    setTaskMode(static_cast<float>(mode));
    files[0].flags |= fileFlagsOf(mode);
    // Back at rest before the host starts anything, so that a notification
    // from inside the task finds no request left.
    startingMode_ = mode;
    setTaskMode(static_cast<float>(restingModeAfter(mode)));
    markStarted();
    if (offlineStart(files, count, 0)) return true;
    startingMode_ = -1;
    unmarkStarted();
    return false;
}

bool OfflinePlugin::requeryFiles() { return AudioEffectX::offlineRead(nullptr, kVstOfflineQueryFiles, true); }

void OfflinePlugin::closeFile() {
    registry_.clear();
    state_.channels = 1;
    state_.acquireSnapshotPending = true;
}

TaskContext OfflinePlugin::taskContext() {
    return TaskContext{pvc_, spectrogram_, *editorPort_, hostPort_, state_};
}

// --- offline tasks ----------------------------------------------------------------

bool OfflinePlugin::offlineNotify(VstAudioFile* files, VstInt32 count, bool start) {
    if (start) {
        // The user asked the host to process the file. Before the editor has
        // seen the host's files there is no curve for it: start nothing.
        if (notifications_->notifyState() <= 1 || files == nullptr || count < 1) {
            state_.message = "No file has been opened in wowfix yet.";
            return false;
        }
        if (busy()) {
            state_.message = "A task is running; wait until it has finished.";
            return false;
        }
        setTaskMode(static_cast<float>(kCorrection));
        files[0].flags |= kVstOfflineWantRead;
        files[0].plugOwned = &pvc_;
        startingMode_ = kCorrection;
        markStarted();
        if (offlineStart(files, count, 1)) return true;
        startingMode_ = -1;
        unmarkStarted();
        return false;
    }
    notifications_->handleNotification(files, count);
    return files != nullptr && count > 0 && (files[0].numChannels == 1 || files[0].numChannels == 2);
}

bool OfflinePlugin::offlinePrepare(VstOfflineTask* tasks, VstInt32 count) {
    preparedMode_ = -1;
    const int started = startingMode_.exchange(-1);
    const int mode = started >= 0 ? started : taskModeOf(current_.taskMode);
    // The new file's record is needed to prepare the corrected copy.
    if (tasks == nullptr || count < 1 || (mode == kCorrection && count < 2)) {
        unmarkStarted();
        return false;
    }
    if (const char* name = processNameOf(mode)) copyText(tasks[0].processName, name, sizeof tasks[0].processName);
    if (mode == kCorrection) {
        VstOfflineTask& source = tasks[0];
        VstOfflineTask& target = tasks[1];
        target.flags |= kVstOfflineFloatOutputFile | kVstOfflineStretch;
        target.numSourceChannels = source.numSourceChannels;
        target.numDestinationChannels = source.numSourceChannels;
        target.sourceSampleRate = source.sourceSampleRate;
        target.destinationSampleRate = source.sourceSampleRate;
        target.index = 0;
    } else if (mode == kSetSelection) {
        tasks[0].flags |= kVstOfflineNoThread;
    }
    preparedMode_ = mode;
    taskPhase_.store(kRunningPhase, std::memory_order_release);
    return true;
}

bool OfflinePlugin::offlineRun(VstOfflineTask* tasks, VstInt32 count) {
    // The editor sets the parameter back as soon as the host has accepted a
    // task, so the mode that counts is the one the task was prepared with.
    const int mode = preparedMode_ >= 0 ? preparedMode_ : taskModeOf(current_.taskMode);
    preparedMode_ = -1;
    taskPhase_.store(kRunningPhase, std::memory_order_release);
    const bool done = tasks != nullptr && count > 0 && runTask(mode, tasks, count);
    // Work put off while the task ran is done before the editor may touch
    // what the task used again.
    headless_->taskFinished();
    taskPhase_.store(kNoTaskPhase, std::memory_order_release);
    return done;
}

void OfflinePlugin::markStarted() {
    startedAt_ = std::chrono::steady_clock::now().time_since_epoch().count();
    taskPhase_.store(kStartedPhase, std::memory_order_release);
}

void OfflinePlugin::unmarkStarted() {
    int phase = kStartedPhase;
    taskPhase_.compare_exchange_strong(phase, kNoTaskPhase, std::memory_order_acq_rel);
}

void OfflinePlugin::giveUpUnpreparedTask(std::chrono::steady_clock::time_point now, std::chrono::milliseconds after) {
    if (taskPhase_.load(std::memory_order_acquire) != kStartedPhase) return;
    const std::chrono::steady_clock::time_point started{std::chrono::steady_clock::duration{startedAt_.load()}};
    if (now - started < after) return;
    unmarkStarted();
    startingMode_ = -1;
}

bool OfflinePlugin::runTask(int mode, VstOfflineTask* tasks, VstInt32 count) {
    TaskContext context = taskContext();
    switch (mode) {
        case kWholeFileAcquisition:
            return runWholeFileAcquisition(context, tasks[0]);
        case kViewAcquisition:
            return runViewAcquisition(context, tasks[0]);
        case kCorrection:
            return runCorrection(hostPort_, tasks, count, pvc_, state_.message);
        case kSetSelection:
            return runSelectionTask(hostPort_, tasks[0], notifications_->selectionStart(),
                                    notifications_->selectionEnd());
        case kPilotToneTracking:
            if (precise_.enabled())
                return runPreciseDetection(context, tasks[0],
                                           precise_.forAlgorithm(PreciseDetectors::kPilotToneAlgorithm,
                                                                 tasks[0].sourceSampleRate),
                                           undoKindPilotTone);
            return runPilotToneTracking(context, tasks[0], toneTracker_.get());
        case kLibraryDetection:
            return useRuntimeLibrary_ ? runRuntimeLibraryDetection(context, tasks[0], library_)
                                      : runLibraryDetection(context, tasks[0], library_);
        case kSpectralDetection:
            if (precise_.enabled())
                return runPreciseDetection(context, tasks[0],
                                           precise_.forSpectralRun(tasks[0].sourceSampleRate, headless_->area()),
                                           undoKindSpectralDetector);
            return runSpectralDetection(context, tasks[0], spectralDetector_.get(), headless_->area());
        default:
            return true;
    }
}

}  // namespace wowfix
