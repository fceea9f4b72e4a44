#include "hostsim/SharedLibrary.h"

#include <dlfcn.h>

namespace wowfix::hostsim {

void* openSharedLibrary(const std::string& path, std::string& error) {
    dlerror();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* text = dlerror();
        error = text != nullptr ? std::string(text) : std::string("unknown loader error");
    }
    return handle;
}

// dlsym answers null both for a missing symbol and for a symbol whose value
// is null; only a pending dlerror tells them apart, so clear it first.
void* findSharedSymbol(void* handle, const char* name) {
    dlerror();
    void* symbol = dlsym(handle, name);
    if (dlerror() != nullptr) return nullptr;
    return symbol;
}

void closeSharedLibrary(void* handle) {
    if (handle != nullptr) dlclose(handle);
}

}  // namespace wowfix::hostsim
