// The library's entry: hosts look up `VSTPluginMain` (and older ones `main`)
// and call it once per effect instance with their callback.

#include "host/OfflinePlugin.h"

#include <new>

namespace {

AEffect* createEffect(audioMasterCallback audioMaster) {
    if (audioMaster == nullptr) return nullptr;
    // A host that does not answer to its version is too old.
    if (audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    try {
        auto* plugin = new wowfix::OfflinePlugin(audioMaster);
        if (plugin->isOutOfMemory()) {
            delete plugin;
            return nullptr;
        }
        return plugin->getAeffect();
    } catch (...) {
        return nullptr;
    }
}

}  // namespace

#if defined(_WIN32)
#define WOWFIX_EXPORT extern "C" __declspec(dllexport)
#else
#define WOWFIX_EXPORT extern "C" __attribute__((visibility("default")))
#endif

WOWFIX_EXPORT AEffect* VSTPluginMain(audioMasterCallback audioMaster) { return createEffect(audioMaster); }

// The historical entry name. A C++ function cannot be called `main` unless it
// returns int, so the symbol gets the name through its assembler label.
WOWFIX_EXPORT AEffect* wowfixLegacyMain(audioMasterCallback audioMaster) __asm__("main");
AEffect* wowfixLegacyMain(audioMasterCallback audioMaster) { return createEffect(audioMaster); }
