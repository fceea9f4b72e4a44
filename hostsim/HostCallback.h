#pragma once
// The one callback function every loaded plug-in gets, and the seam through
// which it finds the host object that loaded it.

#include "sdk/VstTypes.h"

namespace wowfix::hostsim {

// What a host object answers to its plug-in's calls.
class HostCallbacks {
public:
    virtual ~HostCallbacks() = default;
    virtual VstIntPtr hostCall(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                               float opt) = 0;
};

// The VST version this host reports through audioMasterVersion.
constexpr VstInt32 kHostVstVersion = 2400;

// The audioMasterCallback handed to every plug-in entry. It finds its host
// through effect->resvd1, which the loader sets once the entry has returned.
// While the entry runs (the effect record may be null or not yet tagged) the
// host that is loading on this thread answers; with neither, only
// audioMasterVersion gets an answer.
VstIntPtr VSTCALLBACK hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt);

// Makes `host` the answer for untagged callbacks on this thread for the
// lifetime of the object (the time a plug-in entry runs).
class LoadingHostScope {
public:
    explicit LoadingHostScope(HostCallbacks* host);
    ~LoadingHostScope();
    LoadingHostScope(const LoadingHostScope&) = delete;
    LoadingHostScope& operator=(const LoadingHostScope&) = delete;

private:
    HostCallbacks* previous_;
};

// Tags an effect record with its host (effect->resvd1).
void attachHost(AEffect* effect, HostCallbacks* host);

}  // namespace wowfix::hostsim
