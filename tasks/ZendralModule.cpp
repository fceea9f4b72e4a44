#include "tasks/ZendralModule.h"

#include "tasks/RuntimeModule.h"

#include <map>
#include <mutex>

namespace wowfix {

namespace {

// One loaded module per path, held only as long as someone uses it.
std::mutex& registryLock() {
    static std::mutex lock;
    return lock;
}

std::map<std::string, std::weak_ptr<ZendralModule>>& registry() {
    static std::map<std::string, std::weak_ptr<ZendralModule>> modules;
    return modules;
}

}  // namespace

ZendralModule::~ZendralModule() = default;

std::shared_ptr<ZendralModule> ZendralModule::acquire(const std::string& folder, std::string& error) {
    if (folder.empty()) {
        error = "The folder of the plug-in cannot be told, so Zendral cannot be looked for.";
        return nullptr;
    }
    const std::string path = folder + RuntimeModule::fileName(kName);
    std::lock_guard<std::mutex> guard(registryLock());
    if (std::shared_ptr<ZendralModule> loaded = registry()[path].lock()) return loaded;

    std::string why;
    std::unique_ptr<RuntimeModule> module = RuntimeModule::open(path, why);
    if (module == nullptr) {
        error = "The hum library Zendral could not be loaded from \"" + path + "\": " + why;
        return nullptr;
    }
    std::shared_ptr<ZendralModule> zendral(new ZendralModule());
    zendral->createPlugin_ = reinterpret_cast<PvcCreatePluginFunction>(module->symbol("createPlugin"));
    zendral->preprocess_ = reinterpret_cast<PvcPreprocessFunction>(module->symbol("plugin_preprocess"));
    zendral->module_ = std::move(module);
    zendral->path_ = path;
    registry()[path] = zendral;
    return zendral;
}

}  // namespace wowfix
