#pragma once

#include "sdk/VstOffline.h"

#include <deque>
#include <vector>

namespace wowfix::test {

// Task records with buffers of exactly the announced sizes, as a host hands
// them to the plug-in; a task that reads or writes past them trips the
// address sanitizer.
class TaskRecords {
public:
    TaskRecords() { tasks_.reserve(4); }

    // A record of `channels` channels whose input and output buffers hold
    // `inputFrames` and `outputFrames` frames.
    VstOfflineTask& add(int channels, int inputFrames, int outputFrames) {
        VstOfflineTask task{};
        task.numSourceChannels = channels;
        task.numDestinationChannels = channels;
        task.sizeInputBuffer = inputFrames;
        task.sizeOutputBuffer = outputFrames;
        task.inputBuffer = buffers(channels, inputFrames);
        task.outputBuffer = buffers(channels, outputFrames);
        task.sourceSampleRate = task.destinationSampleRate = 44100.0;
        tasks_.push_back(task);
        return tasks_.back();
    }
    // Gives a record output buffers once the plug-in has named its channels.
    void setOutput(VstOfflineTask& task, int channels, int frames) {
        task.sizeOutputBuffer = frames;
        task.outputBuffer = buffers(channels, frames);
    }

    VstOfflineTask* data() { return tasks_.data(); }
    int count() const { return static_cast<int>(tasks_.size()); }
    VstOfflineTask& operator[](int i) { return tasks_[static_cast<size_t>(i)]; }

private:
    void* buffers(int channels, int frames) {
        std::vector<float*>& pointers = pointers_.emplace_back();
        for (int ch = 0; ch < channels; ++ch)
            pointers.push_back(storage_.emplace_back(static_cast<size_t>(frames), 0.0f).data());
        return pointers.data();
    }

    std::vector<VstOfflineTask> tasks_;
    std::deque<std::vector<float>> storage_;
    std::deque<std::vector<float*>> pointers_;
};

}  // namespace wowfix::test
