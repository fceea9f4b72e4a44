#include "TestHost.h"

#include <cstdio>

namespace wowfix::test_host {

VstIntPtr VSTCALLBACK hostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    switch (opcode) {
        case audioMasterVersion: return 2400;
        case audioMasterGetSampleRate: return 48000;
        default: return 0;
    }
}

PluginEntry findEntry(HMODULE module, const char* name) {
    return reinterpret_cast<PluginEntry>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

AEffect* openEffect(PluginEntry entry) {
    AEffect* effect = entry(hostCallback);
    if (effect == nullptr || effect->magic != kEffectMagic) return nullptr;
    effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
    return effect;
}

int fail(const char* what) {
    std::printf("FAILED: %s\n", what);
    return 1;
}

}  // namespace wowfix::test_host
