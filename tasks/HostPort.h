#pragma once

#include "sdk/VstOffline.h"

namespace wowfix {

// The host's offline calls as the tasks use them: reads of audio, cursor and
// selection into a task record, and writes of audio, cursor and selection
// from it. The plug-in forwards them to the host callback; tests answer them
// from memory.
class HostPort {
public:
    virtual ~HostPort() = default;
    virtual bool offlineRead(VstOfflineTask* task, VstOfflineOption option, bool readSource) = 0;
    virtual bool offlineWrite(VstOfflineTask* task, VstOfflineOption option) = 0;
};

}  // namespace wowfix
