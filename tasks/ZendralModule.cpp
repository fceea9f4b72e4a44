#include "tasks/ZendralModule.h"

#include "tasks/RuntimeModule.h"
#include "tasks/SharedModules.h"

namespace wowfix {

ZendralModule::~ZendralModule() = default;

std::shared_ptr<ZendralModule> ZendralModule::acquire(const std::string& folder, std::string& error) {
    if (folder.empty()) {
        error = "The folder of the plug-in cannot be told, so Zendral cannot be looked for.";
        return nullptr;
    }
    return acquireShared<ZendralModule>(
        folder + RuntimeModule::fileName(kName), error,
        [](const std::string& path, std::string& why) -> std::shared_ptr<ZendralModule> {
            std::unique_ptr<RuntimeModule> module = RuntimeModule::open(path, why);
            if (module == nullptr) {
                why = "The hum library Zendral could not be loaded from \"" + path + "\": " + why;
                return nullptr;
            }
            std::shared_ptr<ZendralModule> zendral(new ZendralModule());
            zendral->createPlugin_ = reinterpret_cast<PvcCreatePluginFunction>(module->symbol("createPlugin"));
            zendral->preprocess_ = reinterpret_cast<PvcPreprocessFunction>(module->symbol("plugin_preprocess"));
            zendral->module_ = std::move(module);
            zendral->path_ = path;
            return zendral;
        });
}

}  // namespace wowfix
