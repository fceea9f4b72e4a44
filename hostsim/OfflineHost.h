#pragma once
// A substitute offline VST 2 host: one audio file with its edit cursor and
// selection, one loaded plug-in, and the host side of the offline protocol
// (offlineStart with task records, block reads of the file, block writes of
// a new file, cursor and selection access, re-reporting the files).
//
// By default everything runs on the caller's thread, inside the calls into
// the plug-in, and a file notification that the plug-in asks for while one of
// its calls runs is delivered after the outermost call returns, never from
// inside it. A host with a user interface instead hands the tasks that read
// or write audio to a task runner (a worker thread) and delivers the
// notifications the plug-in asks for from its own loop.

#include "hostsim/AudioSink.h"
#include "hostsim/AudioSource.h"
#include "hostsim/FileRecord.h"
#include "hostsim/HostCallback.h"
#include "hostsim/PluginLibrary.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace wowfix::hostsim {

class TaskRecordSet;

// Creates the sink for a new file the plug-in describes (channels, rate);
// null with `error` set when it cannot.
using NewFileFactory = std::function<std::unique_ptr<AudioSink>(int channels, int sampleRate, std::string& error)>;
// Told the progress fraction (0 ... 1) of the running task before each read.
using ProgressObserver = std::function<void(double fraction)>;
// Runs a task later, e.g. on a worker thread; the task ends by itself.
using TaskRunner = std::function<void(std::function<void()> task)>;

// What happened to the last task the plug-in started.
struct TaskReport {
    bool started = false;    // offlineStart arrived and records were built
    bool prepared = false;   // offlinePrepare answered true
    bool ran = false;        // offlineRun was called
    bool runAnswer = false;  // what offlineRun answered
    bool succeeded = false;  // it answered true and every host step worked
    int sourceRecords = 0;
    int newFiles = 0;
    int reads = 0;
    int writes = 0;
    std::int64_t framesRead = 0;
    std::int64_t framesWritten = 0;
    int newFileChannels = 0;
    int newFileSampleRate = 0;
    std::string processName;
    std::string progressText;
    std::string error;  // the first host-side failure, empty when none
};

class OfflineHost : public HostCallbacks {
public:
    static constexpr int kDefaultBlockSize = 8192;
    static constexpr int kMaxBlockSize = 1 << 22;
    // uniqueId of the host's file unless openFile names another.
    static constexpr VstInt32 kFileId = 1;
    // Notifications delivered back to back for one call before the host
    // stops answering a plug-in that keeps asking for its files.
    static constexpr int kMaxQueuedNotifications = 16;

    // blockSize: frames per read and write buffer, clamped to 1 ... kMaxBlockSize.
    explicit OfflineHost(int blockSize = kDefaultBlockSize);
    ~OfflineHost() override;
    OfflineHost(const OfflineHost&) = delete;
    OfflineHost& operator=(const OfflineHost&) = delete;

    // --- plug-in -------------------------------------------------------------
    bool loadPlugin(const std::string& path);  // error() tells why it failed
    void unloadPlugin();
    bool pluginLoaded() const { return plugin_ != nullptr; }
    AEffect* effect() const;
    const PluginLibrary* plugin() const { return plugin_.get(); }

    // --- the open file ---------------------------------------------------------
    // Opens `source` under `name` and `id`; the selection becomes the whole
    // file and the cursor frame 0.
    void openFile(std::unique_ptr<AudioSource> source, const std::string& name, VstInt32 id = kFileId);
    VstInt32 fileId() const { return fileId_; }
    const AudioSource* file() const { return source_.get(); }
    AudioSource* file() { return source_.get(); }
    // False (nothing changes) when the range is not inside the file.
    bool setSelection(const Selection& selection);
    const Selection& selection() const { return selection_; }
    double cursor() const { return cursor_; }
    int blockSize() const { return blockSize_; }

    void setNewFileFactory(NewFileFactory factory) { newFileFactory_ = std::move(factory); }
    void setProgressObserver(ProgressObserver observer) { progress_ = std::move(observer); }
    // From now on, tasks that read or write audio go to `runner`; offlineStart
    // then answers 1 at once and the task's report is read once
    // taskRunning() is false again. Notifications the plug-in asks for are
    // no longer delivered by the host object: takeNotificationRequest tells
    // the host's loop to send one.
    void setTaskRunner(TaskRunner runner) { runner_ = std::move(runner); }
    bool taskRunning() const { return running_ != nullptr; }
    // Whether the plug-in asked for the files since the last call.
    bool takeNotificationRequest();

    // --- calls into the plug-in -------------------------------------------------
    // The plug-in's dispatcher; afterwards delivers what the plug-in asked for.
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f);
    // effOfflineNotify with the open file (none when no file is open).
    VstIntPtr notifyFiles(bool start);
    // One of wowfix's scripted commands (host/VendorCommands.h).
    VstIntPtr vendorCommand(std::intptr_t command, void* ptr = nullptr, float opt = 0.0f);
    // The plug-in's last message for the user (kLastMessage); empty when none.
    std::string pluginMessage();

    // --- outcome ------------------------------------------------------------------
    int tasksStarted() const { return tasksStarted_; }
    const TaskReport& lastTask() const { return report_; }
    int notificationsDelivered() const { return notificationsDelivered_; }
    const std::string& error() const { return error_; }

    VstIntPtr hostCall(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                       float opt) override;

private:
    VstIntPtr offlineStart(VstAudioFile* files, VstInt32 count, VstInt32 newFiles);
    bool runTask(TaskRecordSet& records);
    VstIntPtr offlineRead(VstOfflineTask* task, VstIntPtr option, bool fromSource);
    VstIntPtr offlineWrite(VstOfflineTask* task, VstIntPtr option);
    VstIntPtr readAudio(int index, VstOfflineTask& task);
    VstIntPtr writeAudio(int index, VstOfflineTask& task);
    VstIntPtr moveCursor(const VstOfflineTask& task);
    VstIntPtr select(const VstOfflineTask& task);
    bool startSinks(TaskRecordSet& records);
    void finishSinks();
    void fail(const std::string& message);
    void refreshFileRecord();
    void updateFilePositions();
    void deliverQueuedNotifications();

    std::unique_ptr<PluginLibrary> plugin_;
    std::unique_ptr<AudioSource> source_;
    std::string fileName_;
    VstAudioFile fileRecord_;
    Selection selection_;
    double cursor_ = 0.0;
    int blockSize_;
    NewFileFactory newFileFactory_;
    ProgressObserver progress_;

    std::atomic<TaskRecordSet*> running_{nullptr};
    VstInt32 runningFileFlags_ = 0;
    std::vector<std::unique_ptr<AudioSink>> sinks_;  // one per record; null for sources
    TaskReport report_;
    int tasksStarted_ = 0;

    TaskRunner runner_;
    VstInt32 fileId_ = kFileId;
    std::atomic<int> dispatchDepth_{0};
    std::atomic<bool> notificationQueued_{false};
    int notificationsDelivered_ = 0;
    std::string error_;
};

}  // namespace wowfix::hostsim
