#pragma once

#include "tasks/HostPort.h"

#include <string>
#include <vector>

namespace wowfix::test {

// A host whose audio file lives in memory. It serves block reads of the
// source and sequential block writes of the new file, lets the cursor and the
// selection be read and written, records every call, and fails the n-th
// audio read or write on request. Requests it cannot serve honestly (a block
// beyond the file or larger than the record's buffers) fail and land in
// `violations`.
class MemoryHost : public HostPort {
public:
    struct Selection {
        double from, frames;
        int index;
        bool operator==(const Selection& o) const { return from == o.from && frames == o.frames && index == o.index; }
    };

    bool offlineRead(VstOfflineTask* task, VstOfflineOption option, bool readSource) override;
    bool offlineWrite(VstOfflineTask* task, VstOfflineOption option) override;

    // Forgets what was read and written; keeps the source and the settings.
    void clearRecords();
    int frames() const { return source.empty() ? 0 : static_cast<int>(source[0].size()); }
    int framesRead() const;
    int framesWritten() const { return written.empty() ? 0 : static_cast<int>(written[0].size()); }

    std::vector<std::vector<float>> source;  // per channel
    bool cursorReadable = true, selectionReadable = true;
    int failRead = 0, failWrite = 0;  // 1-based number of the audio call that fails; 0 none

    std::vector<std::vector<float>> written;  // the new file, per channel
    std::vector<int> readCounts, writeCounts;
    std::vector<double> readPositions, progress, cursorMoves;
    std::vector<Selection> selections;
    std::vector<std::string> violations;
    int calls = 0;
};

}  // namespace wowfix::test
