#pragma once
// What the Windows checks share as a VST 2 host: the host callback they give
// the plug-in, finding its entries, opening the effect, and the failure line.

#include "sdk/VstTypes.h"

#include <windows.h>

namespace wowfix::test_host {

using PluginEntry = AEffect* (*)(audioMasterCallback);

// The host's side of the plug-in's calls: version 2400 and 48 kHz, nothing
// else.
VstIntPtr VSTCALLBACK hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* data,
                                   float option);
// The plug-in's exported entry `name`, or nullptr.
PluginEntry findEntry(HMODULE module, const char* name);
// The effect `entry` creates with hostCallback, opened (effOpen); nullptr when
// it gives no effect record.
AEffect* openEffect(PluginEntry entry);
// Prints "FAILED: what" and gives the checks' failure code, 1.
int fail(const char* what);

}  // namespace wowfix::test_host
