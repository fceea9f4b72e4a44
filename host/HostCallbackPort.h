#pragma once

#include "sdk/AudioEffectX.h"
#include "tasks/HostPort.h"

namespace wowfix {

// The tasks' host calls, made through the effect's host callback.
class HostCallbackPort : public HostPort {
public:
    explicit HostCallbackPort(AudioEffectX& effect) : effect_(effect) {}
    bool offlineRead(VstOfflineTask* task, VstOfflineOption option, bool readSource) override {
        return effect_.offlineRead(task, option, readSource);
    }
    bool offlineWrite(VstOfflineTask* task, VstOfflineOption option) override {
        return effect_.offlineWrite(task, option);
    }

private:
    AudioEffectX& effect_;
};

}  // namespace wowfix
