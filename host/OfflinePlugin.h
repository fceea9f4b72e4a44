#pragma once

#include "detectors/DetectorParamStore.h"
#include "detectors/SDPvc.h"
#include "detectors/ToneTracker.h"
#include "host/HostCallbackPort.h"
#include "host/OpenFileRegistry.h"
#include "host/PluginProgram.h"
#include "host/PreciseDetectors.h"
#include "pvc/PvcCurve.h"
#include "sdk/AudioEffectX.h"
#include "spectral/SpectrogramStore.h"
#include "tasks/ProcessingLibrary.h"
#include "tasks/TaskContext.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace wowfix {

class EditorPort;
class EditorWindow;
class HeadlessEditor;
class NotificationHandler;

// The offline-only effect that the host loads: it owns the curve, the
// spectrogram store and the editor's state for its whole life, and runs every
// operation on audio as an offline task that the host starts. Its one
// parameter is the task mode.
class OfflinePlugin : public AudioEffectX {
public:
    static constexpr VstInt32 kUniqueId = 0x4D4F4A45;

    explicit OfflinePlugin(audioMasterCallback audioMaster);
    ~OfflinePlugin() override;

    // --- the host's view ----------------------------------------------------
    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;
    void process(float** inputs, float** outputs, VstInt32 frames) override;
    void setProgram(VstInt32 program) override;
    void setProgramName(const char* name) override;
    void getProgramName(char* name) override;
    void getParameterLabel(VstInt32 index, char* label) override;
    void getParameterDisplay(VstInt32 index, char* text) override;
    void getParameterName(VstInt32 index, char* text) override;
    bool offlineNotify(VstAudioFile* files, VstInt32 count, bool start) override;
    bool offlinePrepare(VstOfflineTask* tasks, VstInt32 count) override;
    bool offlineRun(VstOfflineTask* tasks, VstInt32 count) override;
    VstInt32 canDo(const char* text) override;
    VstIntPtr vendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt) override;

    // --- the editor's view --------------------------------------------------
    void setPvcPath(const std::string& path);
    const std::string& pvcPath() const { return state_.pvcPath; }
    bool pvcReady() const { return state_.pvcReady; }
    void setUseRuntimeLibrary(bool flag) { useRuntimeLibrary_ = flag; }
    bool usesRuntimeLibrary() const { return useRuntimeLibrary_; }
    // Resets the store to the editor's opening settings.
    void applyDefaultSpectrogramSettings();

    float taskMode() const { return current_.taskMode; }
    void setTaskMode(float mode) { setParameter(0, mode); }
    // Adds the mode's flags to the first file and asks the host to start the
    // task on the files (no new file). The parameter is back at its resting
    // mode before the host is asked; the host's offlinePrepare still gets
    // `mode`.
    bool startTask(VstAudioFile* files, VstInt32 count, int mode);
    // True from the plug-in's offlineStart (or the host's offlinePrepare) to
    // the end of offlineRun: what the task uses must then be neither released
    // nor replaced.
    bool busy() const { return taskPhase_.load(std::memory_order_acquire) != kNoTaskPhase; }
    // A task the host accepted but has not prepared since `since` is given
    // up, so that a host that never runs it does not keep the plug-in busy.
    void giveUpUnpreparedTask(std::chrono::steady_clock::time_point now, std::chrono::milliseconds after);
    // Asks the host to send its file notification again.
    bool requeryFiles();

    PvcCurve& curve() { return pvc_; }
    SpectrogramStore& spectrogram() { return spectrogram_; }
    TaskState& taskState() { return state_; }
    OpenFileRegistry& fileRegistry() { return registry_; }
    HeadlessEditor& headlessEditor() { return *headless_; }
    // The editor window the plug-in made; nullptr once it is gone.
    EditorWindow* editorWindow();
    // The pilot-tone tracker, made anew for the store's sample rate with the
    // user's remembered settings (the previous one's settings are kept
    // first). False, keeping the previous tracker, below 24000 Hz.
    bool createToneTracker();
    // Keeps the tracker's settings and destroys it.
    void destroyToneTracker();
    ToneTracker* toneTracker() { return toneTracker_.get(); }
    // The spectral-domain detector, made anew with the user's remembered
    // settings (the previous one's settings are kept first).
    bool createSpectralDetector();
    void destroySpectralDetector();
    SDPvc* spectralDetector() { return spectralDetector_.get(); }
    // The editor's "Create PVC" with the spectral-domain detector.
    bool createSpectralPvc();
    DetectorParamStore& paramStore() { return paramStore_; }
    // The hum processing library's instance, made anew for the store's
    // sample rate with the remembered values. False, with the reason as the
    // last message, when the libraries cannot give one.
    bool createLibraryInstance();
    bool releaseLibraryInstance();
    void* libraryInstance() const { return library_.instance(); }
    ProcessingLibrary& processingLibrary() { return library_; }
    PreciseDetectors& preciseDetectors() { return precise_; }

    // Forgets the open file (the host reports none).
    void closeFile();
    // The message of the last failure, for the user; empty when none.
    const std::string& lastMessage() const { return state_.message; }

private:
    TaskContext taskContext();
    bool runTask(int mode, VstOfflineTask* tasks, VstInt32 count);
    void markStarted();
    void unmarkStarted();
    VstIntPtr runCommand(VstIntPtr command, void* ptr, float opt);
    bool loadCurveNow(const char* path, double length);
    VstIntPtr detectorParameter(void* ptr);
    VstIntPtr libraryParameter(void* ptr);
    VstIntPtr setProcessingArea(void* ptr);

    PluginProgram current_;
    std::vector<PluginProgram> programs_;
    SpectrogramStore spectrogram_;
    PvcCurve pvc_;
    TaskState state_;
    OpenFileRegistry registry_;
    bool useRuntimeLibrary_ = false;
    DetectorParamStore paramStore_;
    std::unique_ptr<ToneTracker> toneTracker_;
    std::unique_ptr<SDPvc> spectralDetector_;
    ProcessingLibrary library_;
    PreciseDetectors precise_;
    HostCallbackPort hostPort_;
    std::unique_ptr<HeadlessEditor> headless_;
    NotificationHandler* notifications_ = nullptr;
    EditorPort* editorPort_ = nullptr;
    // The mode offlinePrepare named; offlineRun runs it even when the
    // parameter changed in between. -1 when no task is prepared.
    int preparedMode_ = -1;
    // The mode the plug-in itself asked the host to start; -1 when none.
    std::atomic<int> startingMode_{-1};
    enum TaskPhase : int { kNoTaskPhase, kStartedPhase, kRunningPhase };
    std::atomic<int> taskPhase_{kNoTaskPhase};
    std::atomic<std::chrono::steady_clock::rep> startedAt_{0};
};

}  // namespace wowfix
