#include "hostsim/OfflineHost.h"

#include "host/VendorCommands.h"
#include "hostsim/TaskRecordSet.h"

#include <algorithm>
#include <memory>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace wowfix::hostsim {

namespace {

constexpr VstIntPtr kProcessLevelOffline = 4;
constexpr VstIntPtr kAutomationOff = 1;
constexpr VstIntPtr kLanguageEnglish = 1;

std::string boundedText(const char* text, std::size_t capacity) {
    return std::string(text, strnlen(text, capacity));
}

void copyHostString(void* ptr, const char* text, std::size_t capacity) {
    if (ptr == nullptr) return;
    char* out = static_cast<char*>(ptr);
    std::strncpy(out, text, capacity - 1);
    out[capacity - 1] = '\0';
}

// A frame position the plug-in put into a record: finite and not negative.
bool usablePosition(double position) { return std::isfinite(position) && position >= 0.0; }

// A position from a record for a message, whatever the plug-in put there.
std::string framePosition(double position) {
    char text[64];
    std::snprintf(text, sizeof(text), "%.0f", position);
    return text;
}

}  // namespace

OfflineHost::OfflineHost(int blockSize) : blockSize_(std::clamp(blockSize, 1, kMaxBlockSize)) {
    std::memset(&fileRecord_, 0, sizeof(fileRecord_));
}

OfflineHost::~OfflineHost() { unloadPlugin(); }

bool OfflineHost::loadPlugin(const std::string& path) {
    unloadPlugin();
    error_.clear();
    plugin_ = PluginLibrary::load(path, this, error_);
    return plugin_ != nullptr;
}

void OfflineHost::unloadPlugin() { plugin_.reset(); }

AEffect* OfflineHost::effect() const { return plugin_ != nullptr ? plugin_->effect() : nullptr; }

void OfflineHost::openFile(std::unique_ptr<AudioSource> source, const std::string& name, VstInt32 id) {
    source_ = std::move(source);
    fileName_ = name;
    fileId_ = id;
    selection_ = Selection{0.0, source_ != nullptr ? static_cast<double>(source_->frames()) : 0.0};
    cursor_ = 0.0;
    refreshFileRecord();
}

bool OfflineHost::setSelection(const Selection& selection) {
    if (source_ == nullptr || !selectionFits(selection, static_cast<double>(source_->frames()))) return false;
    selection_ = selection;
    updateFilePositions();
    return true;
}

// The record may be the plug-in's `files` array of a running task, with the
// plug-in's flags in it: only the positions change.
void OfflineHost::updateFilePositions() {
    fileRecord_.editCursorPosition = cursor_;
    fileRecord_.selectionStart = selection_.start;
    fileRecord_.selectionSize = selection_.length;
}

void OfflineHost::refreshFileRecord() {
    if (source_ == nullptr) {
        std::memset(&fileRecord_, 0, sizeof(fileRecord_));
        return;
    }
    fileRecord_ = makeFileRecord(*source_, fileName_, fileId_, selection_, cursor_);
    fileRecord_.hostOwned = this;
}

// --- calls into the plug-in ----------------------------------------------------

VstIntPtr OfflineHost::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    if (plugin_ == nullptr) return 0;
    ++dispatchDepth_;
    const VstIntPtr answer = plugin_->dispatch(opcode, index, value, ptr, opt);
    // With a task runner the host's own loop delivers what was asked for
    // (takeNotificationRequest), on its own thread.
    if (--dispatchDepth_ == 0 && !runner_) deliverQueuedNotifications();
    return answer;
}

void OfflineHost::deliverQueuedNotifications() {
    int rounds = 0;
    while (plugin_ != nullptr && notificationQueued_.exchange(false)) {
        if (++rounds > kMaxQueuedNotifications) {
            error_ = "the plug-in keeps asking for its files; notifications stopped";
            return;
        }
        refreshFileRecord();
        ++notificationsDelivered_;
        ++dispatchDepth_;
        plugin_->dispatch(effOfflineNotify, 0, source_ != nullptr ? 1 : 0, source_ != nullptr ? &fileRecord_ : nullptr,
                          0.0f);
        --dispatchDepth_;
    }
}

VstIntPtr OfflineHost::notifyFiles(bool start) {
    refreshFileRecord();
    const bool haveFile = source_ != nullptr;
    return dispatch(effOfflineNotify, start ? 1 : 0, haveFile ? 1 : 0, haveFile ? &fileRecord_ : nullptr);
}

VstIntPtr OfflineHost::vendorCommand(std::intptr_t command, void* ptr, float opt) {
    return dispatch(effVendorSpecific, vendor::kMagic, command, ptr, opt);
}

std::string OfflineHost::pluginMessage() {
    char text[1024] = {};
    vendor::TextBuffer buffer;
    buffer.size = sizeof(buffer);
    buffer.capacity = sizeof(text);
    buffer.text = text;
    if (vendorCommand(vendor::kLastMessage, &buffer) == 0) return std::string();
    return boundedText(text, sizeof(text));
}

// --- the callback ------------------------------------------------------------------

VstIntPtr OfflineHost::hostCall(AEffect* /*effect*/, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float /*opt*/) {
    switch (opcode) {
        case audioMasterVersion:
            return kHostVstVersion;
        case audioMasterGetSampleRate:
            return source_ != nullptr ? static_cast<VstIntPtr>(source_->sampleRate()) : 44100;
        case audioMasterGetBlockSize:
            return blockSize_;
        case audioMasterGetCurrentProcessLevel:
            return kProcessLevelOffline;
        case audioMasterGetAutomationState:
            return kAutomationOff;
        case audioMasterGetLanguage:
            return kLanguageEnglish;
        case audioMasterGetVendorString:
            copyHostString(ptr, "wowfix", kVstMaxVendorStrLen);
            return ptr != nullptr ? 1 : 0;
        case audioMasterGetProductString:
            copyHostString(ptr, "wowfix-host", kVstMaxProductStrLen);
            return ptr != nullptr ? 1 : 0;
        case audioMasterGetVendorVersion:
            return 1;
        case audioMasterCanDo:
            return ptr != nullptr && std::strcmp(static_cast<const char*>(ptr), "offline") == 0 ? 1 : 0;
        case audioMasterOfflineStart:
            return offlineStart(static_cast<VstAudioFile*>(ptr), static_cast<VstInt32>(value), index);
        case audioMasterOfflineRead:
            return offlineRead(static_cast<VstOfflineTask*>(ptr), value, index != 0);
        case audioMasterOfflineWrite:
            return offlineWrite(static_cast<VstOfflineTask*>(ptr), value);
        default:
            return 0;
    }
}

// --- offlineStart -------------------------------------------------------------------

VstIntPtr OfflineHost::offlineStart(VstAudioFile* files, VstInt32 count, VstInt32 newFiles) {
    if (running_ != nullptr) return 0;  // one task at a time
    report_ = TaskReport{};
    if (source_ == nullptr || files == nullptr || count < 1) {
        report_.error = "the plug-in started a task without a file";
        return 0;
    }
    // The host reports one file; a longer array would describe files it never reported.
    if (count != 1 || files[0].uniqueId != fileId_) {
        report_.error = "the plug-in started a task on files the host did not report";
        return 0;
    }
    if (newFiles < 0 || newFiles > 1) {
        report_.error = "the plug-in asked for " + std::to_string(newFiles) + " new files; the host makes at most one";
        return 0;
    }

    ++tasksStarted_;
    report_.started = true;
    report_.sourceRecords = 1;
    report_.newFiles = newFiles;

    auto records = std::make_shared<TaskRecordSet>(1 + newFiles);
    VstAudioFile described = fileRecord_;
    described.plugOwned = files[0].plugOwned;
    described.flags = files[0].flags;
    records->addSource(described, selection_, blockSize_);
    if (newFiles == 1) records->addNewFile(described, blockSize_);
    runningFileFlags_ = files[0].flags;
    sinks_.clear();
    sinks_.resize(static_cast<std::size_t>(records->count()));
    running_ = records.get();

    // A task that reads or writes audio may be handed to the runner; one that
    // only moves the cursor or the selection runs at once.
    const bool movesAudio = (files[0].flags & kVstOfflineWantRead) != 0 || newFiles > 0;
    if (runner_ && movesAudio) {
        runner_([this, records] { runTask(*records); });
        return 1;
    }
    return runTask(*records) ? 1 : 0;
}

bool OfflineHost::runTask(TaskRecordSet& records) {
    report_.prepared = dispatch(effOfflinePrepare, 0, records.count(), records.data()) != 0;
    records.restoreBuffers();
    if (!report_.prepared) {
        fail("the plug-in refused to prepare the task");
    } else {
        std::string error;
        if (!records.allocateOutputs(error))
            fail(error);
        else if (startSinks(records)) {
            report_.processName = boundedText(records.record(0).processName, sizeof(records.record(0).processName));
            report_.ran = true;
            report_.runAnswer = dispatch(effOfflineRun, 0, records.count(), records.data()) != 0;
            report_.progressText = boundedText(records.record(0).progressText, sizeof(records.record(0).progressText));
            if (!report_.runAnswer) fail("the plug-in's task failed");
        }
    }
    if (report_.error.empty()) finishSinks();
    sinks_.clear();
    runningFileFlags_ = 0;
    report_.succeeded = report_.ran && report_.runAnswer && report_.error.empty();
    if (report_.succeeded && progress_) progress_(1.0);
    // Last: a host waiting for the task reads the report once this is seen.
    running_ = nullptr;
    return report_.succeeded;
}

bool OfflineHost::takeNotificationRequest() { return notificationQueued_.exchange(false); }

bool OfflineHost::startSinks(TaskRecordSet& records) {
    for (int i = 0; i < records.count(); ++i) {
        if (records.isSource(i)) continue;
        report_.newFileChannels = records.outputChannels(i);
        report_.newFileSampleRate = records.outputSampleRate(i);
        if (!newFileFactory_) {
            fail("the host has nowhere to put a new file");
            return false;
        }
        std::string error;
        sinks_[static_cast<std::size_t>(i)] =
            newFileFactory_(records.outputChannels(i), records.outputSampleRate(i), error);
        AudioSink* sink = sinks_[static_cast<std::size_t>(i)].get();
        if (sink == nullptr || sink->channels() != records.outputChannels(i)) {
            fail(error.empty() ? std::string("cannot create the new file") : error);
            return false;
        }
    }
    return true;
}

void OfflineHost::finishSinks() {
    for (std::unique_ptr<AudioSink>& sink : sinks_) {
        if (sink == nullptr) continue;
        report_.framesWritten = sink->framesWritten();
        if (!sink->finish()) fail(sink->error());
    }
}

void OfflineHost::fail(const std::string& message) {
    if (report_.error.empty()) report_.error = message;
}

// --- reads and writes ------------------------------------------------------------------

VstIntPtr OfflineHost::offlineRead(VstOfflineTask* task, VstIntPtr option, bool fromSource) {
    if (option == kVstOfflineQueryFiles) {
        notificationQueued_ = true;
        return 1;
    }
    if (running_ == nullptr || task == nullptr) return 0;
    const int index = running_.load()->indexOf(task);
    if (index < 0) return 0;
    switch (option) {
        case kVstOfflineAudio:
            if (!fromSource) {
                fail("the plug-in read back from a file it writes");
                return 0;
            }
            return readAudio(index, *task);
        case kVstOfflineCursor:
            return (runningFileFlags_ & kVstOfflineWantMoveCursor) != 0 ? 1 : 0;
        case kVstOfflineSelection:
            if ((runningFileFlags_ & kVstOfflineWantSelect) == 0) return 0;
            task->positionToProcessFrom = selection_.start;
            task->numFramesToProcess = selection_.length;
            return 1;
        default:
            return 0;
    }
}

VstIntPtr OfflineHost::offlineWrite(VstOfflineTask* task, VstIntPtr option) {
    if (running_ == nullptr || task == nullptr) return 0;
    const int index = running_.load()->indexOf(task);
    if (index < 0) return 0;
    switch (option) {
        case kVstOfflineAudio:
            return writeAudio(index, *task);
        case kVstOfflineCursor:
            return (runningFileFlags_ & kVstOfflineWantMoveCursor) != 0 ? moveCursor(*task) : 0;
        case kVstOfflineSelection:
            return (runningFileFlags_ & kVstOfflineWantSelect) != 0 ? select(*task) : 0;
        default:
            return 0;
    }
}

VstIntPtr OfflineHost::readAudio(int index, VstOfflineTask& task) {
    if (!running_.load()->isSource(index)) {
        fail("the plug-in read audio through a new file's record");
        return 0;
    }
    if ((runningFileFlags_ & kVstOfflineWantRead) == 0) {
        fail("the plug-in read audio without asking to (kVstOfflineWantRead)");
        return 0;
    }
    const int count = task.readCount;
    if (count < 0 || count > running_.load()->blockSize(index)) {
        fail("the plug-in asked for " + std::to_string(count) + " frames; the block holds " +
             std::to_string(running_.load()->blockSize(index)));
        return 0;
    }
    const double position = task.readPosition;
    const double frames = static_cast<double>(source_->frames());
    if (!usablePosition(position) || position != std::floor(position) || position + count > frames) {
        fail("the plug-in read outside the file (frame " + framePosition(position) + ", " +
             std::to_string(count) + " frames)");
        return 0;
    }
    if (progress_ && index == 0) progress_(std::clamp(task.progress, 0.0, 1.0));
    running_.load()->restoreBuffers();
    if (!source_->read(static_cast<std::int64_t>(position), count, running_.load()->inputs(index))) {
        fail(source_->error());
        return 0;
    }
    task.readPosition = position + count;
    ++report_.reads;
    report_.framesRead += count;
    return 1;
}

VstIntPtr OfflineHost::writeAudio(int index, VstOfflineTask& task) {
    AudioSink* sink = sinks_[static_cast<std::size_t>(index)].get();
    if (running_.load()->isSource(index) || sink == nullptr) {
        fail("the plug-in wrote audio into its source file; the host writes only new files");
        return 0;
    }
    const int count = task.writeCount;
    if (count < 0 || count > running_.load()->blockSize(index)) {
        fail("the plug-in wrote " + std::to_string(count) + " frames; the block holds " +
             std::to_string(running_.load()->blockSize(index)));
        return 0;
    }
    const double position = task.writePosition;
    if (!usablePosition(position) || position != static_cast<double>(sink->framesWritten())) {
        fail("the plug-in wrote at frame " + framePosition(position) +
             " but the new file ends at frame " + std::to_string(sink->framesWritten()) +
             "; new files are written in order");
        return 0;
    }
    if (!sink->write(running_.load()->outputs(index), count)) {
        fail(sink->error());
        return 0;
    }
    task.writePosition = position + count;
    ++report_.writes;
    report_.framesWritten = sink->framesWritten();
    return 1;
}

VstIntPtr OfflineHost::moveCursor(const VstOfflineTask& task) {
    const double position = task.writePosition;
    if (!usablePosition(position) || position > static_cast<double>(source_->frames())) return 0;
    cursor_ = std::floor(position);
    updateFilePositions();
    return 1;
}

VstIntPtr OfflineHost::select(const VstOfflineTask& task) {
    const Selection wanted{task.positionToProcessFrom, task.numFramesToProcess};
    return setSelection(wanted) ? 1 : 0;
}

}  // namespace wowfix::hostsim
