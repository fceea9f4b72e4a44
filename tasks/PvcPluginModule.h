#pragma once

#include <memory>
#include <string>

namespace wowfix {

class RuntimeModule;

// The nine PVC_Plugin functions that work on a library instance.
struct PvcPluginFunctions {
    int (*getNumParams)(void* instance) = nullptr;
    float (*getParamValue)(void* instance, int index) = nullptr;
    void (*setParamValue)(void* instance, int index, float value) = nullptr;
    float (*getParamValueDisp)(void* instance, int index) = nullptr;
    void (*getParamName)(void* instance, int index, char* text) = nullptr;
    void (*getParamLabel)(void* instance, int index, char* text) = nullptr;
    int (*getDelay)(void* instance) = nullptr;
    bool (*processPVC)(void* instance, int frames, int channels, float** inputs, float** outputs) = nullptr;
    void (*destroy)(void* instance) = nullptr;
};

// The library PVC_Plugin, its functions bound by their names when hum
// tracking is first wanted rather than when the plug-in is loaded, so that a
// missing library fails only the hum algorithm and not the whole plug-in.
// Loaded by full path from a folder (the plug-in's own) and shared as
// Zendral is.
class PvcPluginModule {
public:
    static constexpr const char* kName = "PVC_Plugin";

    ~PvcPluginModule();

    // The module loaded from `folder` with all nine functions; null with
    // `error` set when it cannot be loaded or lacks one of them.
    static std::shared_ptr<PvcPluginModule> acquire(const std::string& folder, std::string& error);

    const PvcPluginFunctions& functions() const { return functions_; }

private:
    PvcPluginModule() = default;

    std::unique_ptr<RuntimeModule> module_;
    PvcPluginFunctions functions_;
};

}  // namespace wowfix
