#pragma once

#include "extlib/include/PvcPluginContract.h"

#include <memory>
#include <string>

namespace wowfix {

class RuntimeModule;

// The run-time library Zendral, shared by every plug-in instance of the
// process that uses it. It is loaded by full path from a folder (the
// plug-in's own), looked up again after a failed attempt, and freed when the
// last instance that holds it lets it go.
class ZendralModule {
public:
    static constexpr const char* kName = "Zendral";

    ~ZendralModule();

    // The module loaded from `folder`, shared when it is loaded already;
    // null with `error` set when it cannot be loaded.
    static std::shared_ptr<ZendralModule> acquire(const std::string& folder, std::string& error);

    // The entries; null when the library lacks them.
    PvcCreatePluginFunction createPlugin() const { return createPlugin_; }
    PvcPreprocessFunction preprocess() const { return preprocess_; }
    const std::string& path() const { return path_; }

private:
    ZendralModule() = default;

    std::unique_ptr<RuntimeModule> module_;
    std::string path_;
    PvcCreatePluginFunction createPlugin_ = nullptr;
    PvcPreprocessFunction preprocess_ = nullptr;
};

}  // namespace wowfix
