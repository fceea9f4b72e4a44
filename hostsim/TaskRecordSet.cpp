#include "hostsim/TaskRecordSet.h"

#include <cmath>
#include <cstring>

namespace wowfix::hostsim {

namespace {

VstOfflineTask blankRecord() {
    VstOfflineTask task;
    std::memset(&task, 0, sizeof(task));
    return task;
}

void makeBuffers(int channels, int frames, std::vector<std::vector<float>>& data, std::vector<float*>& pointers) {
    data.assign(static_cast<std::size_t>(channels), std::vector<float>(static_cast<std::size_t>(frames), 0.0f));
    pointers.clear();
    for (std::vector<float>& channel : data) pointers.push_back(channel.data());
}

}  // namespace

TaskRecordSet::TaskRecordSet(int records) : capacity_(records > 0 ? static_cast<std::size_t>(records) : 0) {
    records_.reserve(capacity_);
    slots_.reserve(capacity_);
}

bool TaskRecordSet::addSource(const VstAudioFile& file, const Selection& selection, int blockSize) {
    if (records_.size() >= capacity_ || blockSize < 1 || file.numChannels < 1) return false;
    Slot slot;
    slot.source = true;
    slot.blockSize = blockSize;
    makeBuffers(file.numChannels, blockSize, slot.input, slot.inputPointers);

    VstOfflineTask task = blankRecord();
    task.readPosition = selection.start;
    task.positionToProcessFrom = selection.start;
    task.numFramesToProcess = selection.length;
    task.numFramesInSourceFile = file.numFrames;
    task.sourceSampleRate = file.sampleRate;
    task.destinationSampleRate = file.sampleRate;
    task.numSourceChannels = file.numChannels;
    task.numDestinationChannels = file.numChannels;
    task.sizeInputBuffer = blockSize;
    task.hostOwned = file.hostOwned;
    task.plugOwned = file.plugOwned;

    records_.push_back(task);
    slots_.push_back(std::move(slot));
    restoreBuffers();
    return true;
}

bool TaskRecordSet::addNewFile(const VstAudioFile& model, int blockSize) {
    if (records_.size() >= capacity_ || blockSize < 1) return false;
    Slot slot;
    slot.blockSize = blockSize;

    VstOfflineTask task = blankRecord();
    task.flags = kVstOfflineNewFile;
    task.sourceSampleRate = model.sampleRate;
    task.destinationSampleRate = model.sampleRate;
    task.numSourceChannels = model.numChannels;
    task.numDestinationChannels = model.numChannels;
    task.sizeOutputBuffer = blockSize;

    records_.push_back(task);
    slots_.push_back(std::move(slot));
    return true;
}

bool TaskRecordSet::allocateOutputs(std::string& error) {
    for (std::size_t i = 0; i < records_.size(); ++i) {
        if (slots_[i].source) continue;
        const VstOfflineTask& task = records_[i];
        if (task.numDestinationChannels < 1 || task.numDestinationChannels > kMaxChannels) {
            error = "the plug-in asked for a new file with " + std::to_string(task.numDestinationChannels) +
                    " channels";
            return false;
        }
        const double rate = task.destinationSampleRate;
        if (!std::isfinite(rate) || rate < 1.0 || rate > 16.0e6 || rate != std::floor(rate)) {
            error = "the plug-in asked for a new file at an unusable sample rate";
            return false;
        }
        slots_[i].outputRate = static_cast<int>(rate);
        makeBuffers(task.numDestinationChannels, slots_[i].blockSize, slots_[i].output, slots_[i].outputPointers);
    }
    restoreBuffers();
    return true;
}

void TaskRecordSet::restoreBuffers() {
    for (std::size_t i = 0; i < records_.size(); ++i) {
        VstOfflineTask& task = records_[i];
        Slot& slot = slots_[i];
        if (slot.source) {
            task.inputBuffer = slot.inputPointers.data();
            task.sizeInputBuffer = slot.blockSize;
        } else {
            task.outputBuffer = slot.outputPointers.empty() ? nullptr : slot.outputPointers.data();
            task.sizeOutputBuffer = slot.blockSize;
        }
    }
}

int TaskRecordSet::indexOf(const void* task) const {
    for (std::size_t i = 0; i < records_.size(); ++i)
        if (task == &records_[i]) return static_cast<int>(i);
    return -1;
}

int TaskRecordSet::inputChannels(int i) const {
    return static_cast<int>(slots_[static_cast<std::size_t>(i)].inputPointers.size());
}

int TaskRecordSet::outputChannels(int i) const {
    return static_cast<int>(slots_[static_cast<std::size_t>(i)].outputPointers.size());
}

}  // namespace wowfix::hostsim
