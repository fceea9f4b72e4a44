#include "tasks/RuntimeModule.h"

#include <dlfcn.h>

namespace wowfix {

RuntimeModule::~RuntimeModule() {
    if (handle_ != nullptr) dlclose(handle_);
}

std::unique_ptr<RuntimeModule> RuntimeModule::open(const std::string& path, std::string& error) {
    // A path without a separator would make the loader search for it.
    if (path.find('/') == std::string::npos) {
        error = "\"" + path + "\" is not a full path";
        return nullptr;
    }
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        error = why != nullptr ? why : "cannot load \"" + path + "\"";
        return nullptr;
    }
    return std::unique_ptr<RuntimeModule>(new RuntimeModule(handle));
}

void* RuntimeModule::symbol(const char* name) const { return handle_ != nullptr ? dlsym(handle_, name) : nullptr; }

std::string RuntimeModule::ownFolder() {
    Dl_info info{};
    static const int anchor = 0;
    if (dladdr(&anchor, &info) == 0 || info.dli_fname == nullptr) return {};
    const std::string file = info.dli_fname;
    const std::size_t slash = file.rfind('/');
    return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

std::string RuntimeModule::fileName(const std::string& name) { return "lib" + name + ".so"; }

}  // namespace wowfix
