// wowfix-load-smoke.exe PLUGIN.dll: loads the Windows plug-in as a VST 2 host
// does (LoadLibraryA, "VSTPluginMain" or "main"), checks the effect record,
// asks for its names, has it create a hum-library instance (which loads
// PVC_Plugin.dll and Zendral.dll from the plug-in's folder) and reads the
// nominal hum frequency back, then closes it. Prints one line per check and
// exits 1 at the first failure. Run under Wine by the Windows CI stage.

#include "TestHost.h"
#include "host/VendorCommands.h"

#include <cstdio>

using wowfix::test_host::fail;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::printf("usage: wowfix-load-smoke PLUGIN.dll\n");
        return 2;
    }
    HMODULE module = LoadLibraryA(argv[1]);
    if (module == nullptr) return fail("LoadLibraryA");
    const auto entry = wowfix::test_host::findEntry(module, "VSTPluginMain");
    const auto legacy = wowfix::test_host::findEntry(module, "main");
    if (entry == nullptr || legacy == nullptr) return fail("the entries VSTPluginMain and main");
    std::printf("entries: VSTPluginMain, main\n");

    AEffect* effect = wowfix::test_host::openEffect(entry);
    if (effect == nullptr) return fail("the effect record");
    char name[kVstMaxEffectNameLen + 1] = {};
    effect->dispatcher(effect, effGetEffectName, 0, 0, name, 0.0f);
    std::printf("effect: \"%s\", unique id %08x, %d in, %d out\n", name, static_cast<unsigned>(effect->uniqueID),
                effect->numInputs, effect->numOutputs);

    wowfix::vendor::DetectorParameter parameter{};
    parameter.size = sizeof parameter;
    parameter.algorithm = wowfix::vendor::kHumAlgorithm;
    parameter.index = 10;
    if (effect->dispatcher(effect, effVendorSpecific, wowfix::vendor::kMagic, wowfix::vendor::kDetectorParameter,
                           &parameter, 0.0f) == 0)
        return fail("the hum library instance");
    std::printf("hum library: %d parameters, \"%s\" = %g %s\n", parameter.count, parameter.name, parameter.display,
                parameter.label);
    if (parameter.display != 50.0f) return fail("the nominal hum frequency of a new instance");

    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    FreeLibrary(module);
    std::printf("ok\n");
    return 0;
}
