#include "PluginHost.h"

#include "editor/EditorWindow.h"
#include "editor/win32/SoftInput.h"
#include "host/VendorCommands.h"
#include "tests/pvc/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace wowfix::test {
namespace {

// Every plug-in of these tests keeps its snapshots under one scratch folder,
// never in the user's temporary folder.
class ScratchTempBase : public ::testing::Environment {
public:
    void SetUp() override {
        folder_ = std::make_unique<ScratchFolder>();
        setenv("WOWFIX_TEMP", folder_->file("temp").c_str(), 1);
    }
    void TearDown() override { folder_.reset(); }

private:
    std::unique_ptr<ScratchFolder> folder_;
};

[[maybe_unused]] ::testing::Environment* const scratchTempBase =
    ::testing::AddGlobalTestEnvironment(new ScratchTempBase);

}  // namespace

PluginHost::PluginHost() {
    effect = (new OfflinePlugin(&PluginHost::callback))->getAeffect();
    effect->user = this;
}

VstIntPtr PluginHost::command(std::intptr_t command, void* ptr, float opt) {
    return dispatch(effVendorSpecific, vendor::kMagic, command, ptr, opt);
}

std::string PluginHost::message() {
    char text[512] = "";
    vendor::TextBuffer buffer{sizeof(vendor::TextBuffer), sizeof text, text};
    return command(vendor::kLastMessage, &buffer) == 1 ? std::string(text) : std::string("<no answer>");
}

void PluginHost::openFile(int channels, int frames, VstInt32 id, const char* name) {
    file = VstAudioFile{};
    std::strncpy(file.name, name, sizeof file.name - 1);
    file.uniqueId = id;
    file.sampleRate = 44100.0;
    file.numChannels = channels;
    file.numFrames = file.selectionSize = frames;
    audio.source.assign(static_cast<size_t>(channels), {});
    for (auto& channel : audio.source)
        for (int i = 0; i < frames; ++i) channel.push_back(static_cast<float>(0.5 * std::sin(i * 0.01)));
}

VstIntPtr PluginHost::notify(bool start) {
    file.flags = 0;
    file.plugOwned = nullptr;
    return dispatch(effOfflineNotify, start ? 1 : 0, 1, &file);
}

VstIntPtr PluginHost::notifyFiles(std::vector<VstAudioFile>& files) {
    for (VstAudioFile& f : files) f.flags = 0;
    return dispatch(effOfflineNotify, 0, static_cast<VstIntPtr>(files.size()), files.data());
}

void PluginHost::waitForTask() {
    if (worker_.joinable()) worker_.join();
}

VstIntPtr VSTCALLBACK PluginHost::callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                           void* ptr, float) {
    if (opcode == audioMasterVersion) return 2400;
    auto* host = effect != nullptr ? static_cast<PluginHost*>(effect->user) : nullptr;
    if (host == nullptr || opcode < audioMasterOfflineStart || opcode > audioMasterOfflineWrite) return 0;
    ++host->offlineCalls;
    auto* task = static_cast<VstOfflineTask*>(ptr);
    const auto option = static_cast<VstOfflineOption>(value);
    if (opcode == audioMasterOfflineStart) return host->start(static_cast<VstAudioFile*>(ptr), static_cast<int>(value), index);
    if (opcode == audioMasterOfflineWrite) return host->audio.offlineWrite(task, option);
    if (task == nullptr && option == kVstOfflineQueryFiles) {
        ++host->queries;
        if (host->notifyOnQuery) host->notify();
        return 1;
    }
    if (option == kVstOfflineAudio) {
        if (host->duringRead) host->duringRead();
        // Once per task, as a host that reports its files while reading.
        if (host->notifyInsideRead && host->readDepth_++ == 0) host->notify();
    }
    return host->audio.offlineRead(task, option, index != 0);
}

VstIntPtr PluginHost::start(VstAudioFile* files, int count, int newFiles) {
    if (files == nullptr || count < 1 || refuseStart) return 0;
    waitForTask();
    readDepth_ = 0;
    Start s;
    s.newFiles = newFiles;
    s.fileFlags = files[0].flags;
    s.plugOwned = files[0].plugOwned;
    auto owned = std::make_unique<TaskRecords>();
    TaskRecords& records = *owned;
    for (int i = 0; i < count; ++i) {
        VstOfflineTask& task = records.add(files[i].numChannels, blockSize, 0);
        task.numFramesInSourceFile = files[i].numFrames;
        task.sourceSampleRate = files[i].sampleRate;
        task.positionToProcessFrom = files[i].selectionStart;
        task.numFramesToProcess = files[i].selectionSize;
        task.plugOwned = files[i].plugOwned;
    }
    for (int i = 0; i < newFiles; ++i) records.add(0, 0, 0);
    if (runOnWorker) {
        starts.push_back(s);
        workerRecords_ = std::move(owned);
        worker_ = std::thread([this, count] { runTask(*workerRecords_, count, starts.back()); });
        return 1;
    }
    runTask(records, count, s);
    starts.push_back(s);
    return 1;
}

void PluginHost::runTask(TaskRecords& records, int count, Start& s) {
    const bool prepared = dispatch(effOfflinePrepare, 0, records.count(), records.data()) != 0;
    s.processName = records[0].processName;
    s.taskFlags = records[0].flags;
    for (int i = count; i < records.count(); ++i) records.setOutput(records[i], records[i].numDestinationChannels, blockSize);
    if (prepared) s.ran = dispatch(effOfflineRun, 0, records.count(), records.data());
}

bool PluginHost::openEditorAtWork(int channels, int frames) {
    EditorWindow* editor = plugin().editorWindow();
    if (editor == nullptr || dispatch(effEditOpen) != 1) return false;
    openFile(channels, frames);
    notify();
    if (!soft::drag(editor->panelWindow(), 100, 100, 100, 100)) return false;
    notify();
    return true;
}

}  // namespace wowfix::test
