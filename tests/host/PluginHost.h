#pragma once

#include "host/OfflinePlugin.h"
#include "tests/tasks/MemoryHost.h"
#include "tests/tasks/TaskRecords.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace wowfix::test {

// A host with one audio file that drives an OfflinePlugin only through its
// AEffect record. offlineStart builds the task records from the file records
// and prepares and runs the task at once; the task's reads and writes go to
// `audio` (the file and the new file in memory); re-queries are counted.
// Scripted behaviours: answer a re-query with a notification at once, notify
// from inside the task's reads, refuse to start, or run the task on a thread
// of its own (waitForTask joins it).
class PluginHost {
public:
    struct Start {
        int newFiles = 0;
        VstInt32 fileFlags = 0, taskFlags = 0;
        void* plugOwned = nullptr;
        VstIntPtr ran = 0;
        std::string processName;
    };

    PluginHost();
    ~PluginHost() {
        waitForTask();
        dispatch(effClose);
    }
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    OfflinePlugin& plugin() { return *static_cast<OfflinePlugin*>(effect->object); }
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0) {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }
    float mode() { return effect->getParameter(effect, 0); }
    void setMode(float mode) { effect->setParameter(effect, 0, mode); }
    VstIntPtr command(std::intptr_t command, void* ptr = nullptr, float opt = 0);
    std::string message();

    // The host's file: `channels` channels of a slow sine, selected whole.
    void openFile(int channels, int frames, VstInt32 id = 7, const char* name = "take.wav");
    // The host's file notification, its flags refilled as a host does.
    VstIntPtr notify(bool start = false);
    // The editor opened on `openFile (channels, frames)` and set to work as a
    // user does: the first click on the start picture, then the file's first
    // pass. False when a step did not happen.
    bool openEditorAtWork(int channels, int frames);
    // Several files at once (the first is the one the user works on).
    VstIntPtr notifyFiles(std::vector<VstAudioFile>& files);
    void waitForTask();

    AEffect* effect = nullptr;
    VstAudioFile file{};
    MemoryHost audio;
    int blockSize = 512;
    std::vector<Start> starts;
    int queries = 0;       // query-files reads
    int offlineCalls = 0;  // offline calls of any kind
    bool notifyOnQuery = false;
    bool notifyInsideRead = false;
    bool refuseStart = false;
    bool runOnWorker = false;
    // Called before every audio read of a task.
    std::function<void()> duringRead;

private:
    static VstIntPtr VSTCALLBACK callback(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float);
    VstIntPtr start(VstAudioFile* files, int count, int newFiles);
    void runTask(TaskRecords& records, int count, Start& s);

    std::unique_ptr<TaskRecords> workerRecords_;
    std::thread worker_;
    int readDepth_ = 0;
};

}  // namespace wowfix::test
