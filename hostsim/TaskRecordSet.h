#pragma once
// The task records of one offline task and the audio buffers behind them:
// the source files first, then the new files. The host keeps its own account
// of every buffer, so nothing a plug-in writes into a record can make the host
// read or write outside them.

#include "hostsim/FileRecord.h"

#include <string>
#include <vector>

namespace wowfix::hostsim {

class TaskRecordSet {
public:
    // Highest channel count of a new file.
    static constexpr int kMaxChannels = 64;

    // Reserves room for `records` records; records cannot be added beyond it,
    // so their addresses stay fixed for the plug-in.
    explicit TaskRecordSet(int records);

    // A record reading `file` over `selection`: range, source length, rate and
    // channels, one input buffer of `blockSize` frames per channel, and the
    // file's plugOwned. Answers false when no room is left.
    bool addSource(const VstAudioFile& file, const Selection& selection, int blockSize);
    // A record for a new file with output buffers of `blockSize` frames once
    // the plug-in has described it; until then it is marked kVstOfflineNewFile
    // and takes rate and channels from `model`.
    bool addNewFile(const VstAudioFile& model, int blockSize);

    // After offlinePrepare: output buffers for every new file's
    // numDestinationChannels. False (with `error`) when a record asks for a
    // channel count outside 1 ... kMaxChannels or a sample rate that is not a
    // positive whole number.
    bool allocateOutputs(std::string& error);
    // Puts the host's buffer pointers and sizes back into every record.
    void restoreBuffers();

    VstOfflineTask* data() { return records_.data(); }
    int count() const { return static_cast<int>(records_.size()); }
    VstOfflineTask& record(int i) { return records_[static_cast<std::size_t>(i)]; }
    // Index of `task` in the set; -1 when it is not one of these records.
    int indexOf(const void* task) const;

    bool isSource(int i) const { return slots_[static_cast<std::size_t>(i)].source; }
    int blockSize(int i) const { return slots_[static_cast<std::size_t>(i)].blockSize; }
    int inputChannels(int i) const;
    int outputChannels(int i) const;
    float* const* inputs(int i) { return slots_[static_cast<std::size_t>(i)].inputPointers.data(); }
    const float* const* outputs(int i) const { return slots_[static_cast<std::size_t>(i)].outputPointers.data(); }
    // The new file's rate after allocateOutputs.
    int outputSampleRate(int i) const { return slots_[static_cast<std::size_t>(i)].outputRate; }

private:
    struct Slot {
        bool source = false;
        int blockSize = 0;
        std::vector<std::vector<float>> input;
        std::vector<float*> inputPointers;
        std::vector<std::vector<float>> output;
        std::vector<float*> outputPointers;
        int outputRate = 0;
    };

    std::size_t capacity_;
    std::vector<VstOfflineTask> records_;
    std::vector<Slot> slots_;
};

}  // namespace wowfix::hostsim
