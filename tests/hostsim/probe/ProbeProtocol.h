#pragma once
// The probe plug-in: a small VST 2 module for the host's tests. It plays the
// plug-in's side of the offline protocol in scripted ways (well and badly)
// and records what the host showed it. Tests script it through its own
// vendor-specific magic, or through HOSTSIM_PROBE_SCENARIO when it runs under
// the wowfix-host command.

#include "sdk/VstOffline.h"

#include <cstdint>

namespace probe {

// 'prob'
constexpr std::int32_t kMagic = 0x70726F62;

enum Command : std::intptr_t {
    // ptr: Observations** - receives the probe's record.
    kObservations = 1,
    // opt: Scenario for the next tasks.
    kSetScenario = 2,
    // opt: new files. Asks the host for its files again; the next file
    // notification starts a task with that many new files.
    kRequestTask = 3,
    // opt: channels the probe asks for in a new file (0: as the source).
    kSetNewFileChannels = 4,
};

enum Scenario {
    kCopy = 0,               // reads the selection block by block, copies it into the new file
    kReadPastEnd = 1,        // one read that reaches one frame past the file's end
    kOversizedRead = 2,      // readCount one more than sizeInputBuffer
    kOversizedWrite = 3,     // writeCount one more than sizeOutputBuffer
    kWriteOutOfOrder = 4,    // first write at frame 5 of the new file
    kMoveCursorAndSelect = 5,  // asks for cursor and selection access, then moves both
    kMoveWithoutAsking = 6,  // moves them without the file flags that ask for it
    kSelectPastEnd = 7,      // selection write reaching past the file's end
    kRefusePrepare = 8,      // offlinePrepare answers false
    kFailMidway = 9,         // copies half, then answers false
    kRequeryForever = 10,    // every notification asks for the files again
    kReadWithoutAsking = 11, // reads without kVstOfflineWantRead
};

struct Observations {
    VstIntPtr versionAtEntry = 0;
    int notifications = 0;
    int notificationsInsideCalls = 0;  // arrived while a probe call into the host ran
    int lastNotifyCount = 0;
    int lastNotifyStart = 0;
    VstAudioFile lastFile{};
    int prepareCalls = 0;
    int runCalls = 0;
    int preparedCount = 0;
    VstOfflineTask prepared[2]{};  // records as the host handed them to offlinePrepare
    int reads = 0;
    int writes = 0;
    VstIntPtr lastReadAnswer = -1;
    VstIntPtr lastWriteAnswer = -1;
    VstIntPtr cursorReadAnswer = -1;
    VstIntPtr cursorWriteAnswer = -1;
    VstIntPtr selectionReadAnswer = -1;
    VstIntPtr selectionWriteAnswer = -1;
    VstIntPtr startAnswer = -1;
    void* ownedToken = nullptr;  // what the probe put into plugOwned
};

}  // namespace probe
