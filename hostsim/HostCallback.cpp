#include "hostsim/HostCallback.h"

namespace wowfix::hostsim {

namespace {
thread_local HostCallbacks* loadingHost = nullptr;
}

VstIntPtr VSTCALLBACK hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) {
    HostCallbacks* host = nullptr;
    if (effect != nullptr && effect->resvd1 != 0)
        host = reinterpret_cast<HostCallbacks*>(effect->resvd1);
    else
        host = loadingHost;
    if (host == nullptr) return opcode == audioMasterVersion ? kHostVstVersion : 0;
    // Nothing may unwind into the plug-in's frames.
    try {
        return host->hostCall(effect, opcode, index, value, ptr, opt);
    } catch (...) {
        return 0;
    }
}

LoadingHostScope::LoadingHostScope(HostCallbacks* host) : previous_(loadingHost) { loadingHost = host; }

LoadingHostScope::~LoadingHostScope() { loadingHost = previous_; }

void attachHost(AEffect* effect, HostCallbacks* host) {
    if (effect != nullptr) effect->resvd1 = reinterpret_cast<VstIntPtr>(host);
}

}  // namespace wowfix::hostsim
