// A library whose VST entry returns a record that is not a VST 2 effect.
#include "sdk/VstTypes.h"

namespace {
AEffect notAnEffect{};
}

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback) {
    notAnEffect.magic = fourCharCode('N', 'o', 'p', 'e');
    return &notAnEffect;
}
