#include "tasks/PvcPluginModule.h"

#include "tasks/RuntimeModule.h"
#include "tasks/SharedModules.h"

namespace wowfix {

namespace {

// Binds `entry` to the function called `name`; false when there is none.
template <typename Function>
bool bind(const RuntimeModule& module, const char* name, Function& entry, std::string& missing) {
    entry = reinterpret_cast<Function>(module.symbol(name));
    if (entry == nullptr && missing.empty()) missing = name;
    return entry != nullptr;
}

}  // namespace

PvcPluginModule::~PvcPluginModule() = default;

std::shared_ptr<PvcPluginModule> PvcPluginModule::acquire(const std::string& folder, std::string& error) {
    if (folder.empty()) {
        error = "The folder of the plug-in cannot be told, so PVC_Plugin cannot be looked for.";
        return nullptr;
    }
    return acquireShared<PvcPluginModule>(
        folder + RuntimeModule::fileName(kName), error,
        [](const std::string& path, std::string& why) -> std::shared_ptr<PvcPluginModule> {
            std::unique_ptr<RuntimeModule> module = RuntimeModule::open(path, why);
            if (module == nullptr) {
                why = "The hum library PVC_Plugin could not be loaded from \"" + path + "\": " + why;
                return nullptr;
            }
            std::shared_ptr<PvcPluginModule> pvc(new PvcPluginModule());
            PvcPluginFunctions& f = pvc->functions_;
            std::string missing;
            bind(*module, "plugin_getNumParams", f.getNumParams, missing);
            bind(*module, "plugin_getParamValue", f.getParamValue, missing);
            bind(*module, "plugin_setParamValue", f.setParamValue, missing);
            bind(*module, "plugin_getParamValueDisp", f.getParamValueDisp, missing);
            bind(*module, "plugin_getParamName", f.getParamName, missing);
            bind(*module, "plugin_getParamLabel", f.getParamLabel, missing);
            bind(*module, "plugin_getDelay", f.getDelay, missing);
            bind(*module, "plugin_processPVC", f.processPVC, missing);
            bind(*module, "plugin_destroy", f.destroy, missing);
            if (!missing.empty()) {
                why = "The hum library \"" + path + "\" has no \"" + missing + "\".";
                return nullptr;
            }
            pvc->module_ = std::move(module);
            return pvc;
        });
}

}  // namespace wowfix
