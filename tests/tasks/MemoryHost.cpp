#include "MemoryHost.h"

#include <algorithm>
#include <numeric>

namespace wowfix::test {

void MemoryHost::clearRecords() {
    MemoryHost fresh;
    fresh.source = std::move(source);
    fresh.cursorReadable = cursorReadable, fresh.selectionReadable = selectionReadable;
    fresh.failRead = failRead, fresh.failWrite = failWrite;
    *this = std::move(fresh);
}

int MemoryHost::framesRead() const { return std::accumulate(readCounts.begin(), readCounts.end(), 0); }

bool MemoryHost::offlineRead(VstOfflineTask* task, VstOfflineOption option, bool /*readSource*/) {
    ++calls;
    if (task == nullptr) return false;
    if (option == kVstOfflineCursor) return cursorReadable;
    if (option == kVstOfflineSelection) return selectionReadable;
    if (option != kVstOfflineAudio || static_cast<int>(readCounts.size()) + 1 == failRead) return false;
    const double at = task->readPosition;
    const int n = task->readCount;
    if (n < 1 || n > task->sizeInputBuffer || at < 0 || at + n > frames()) {
        violations.push_back("read of " + std::to_string(n) + " frames at " + std::to_string(at));
        return false;
    }
    float** buffers = static_cast<float**>(task->inputBuffer);
    for (size_t ch = 0; ch < source.size() && ch < static_cast<size_t>(task->numSourceChannels); ++ch)
        std::copy_n(source[ch].begin() + static_cast<long>(at), n, buffers[ch]);
    readCounts.push_back(n);
    readPositions.push_back(at);
    progress.push_back(task->progress);
    task->readPosition += n;
    return true;
}

bool MemoryHost::offlineWrite(VstOfflineTask* task, VstOfflineOption option) {
    ++calls;
    if (task == nullptr) return false;
    if (option == kVstOfflineCursor) {
        cursorMoves.push_back(task->writePosition);
        return true;
    }
    if (option == kVstOfflineSelection) {
        selections.push_back({task->positionToProcessFrom, task->numFramesToProcess, task->index});
        return true;
    }
    if (static_cast<int>(writeCounts.size()) + 1 == failWrite) return false;
    const int n = task->writeCount;
    if (n < 1 || n > task->sizeOutputBuffer || task->writePosition != framesWritten()) {
        violations.push_back("write of " + std::to_string(n) + " frames at " + std::to_string(task->writePosition));
        return false;
    }
    written.resize(static_cast<size_t>(task->numDestinationChannels));
    float** buffers = static_cast<float**>(task->outputBuffer);
    for (size_t ch = 0; ch < written.size(); ++ch) written[ch].insert(written[ch].end(), buffers[ch], buffers[ch] + n);
    writeCounts.push_back(n);
    task->writePosition += n;
    return true;
}

}  // namespace wowfix::test
