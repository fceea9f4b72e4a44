#include "hostsim/PluginLibrary.h"

#include <dlfcn.h>

#include <cstring>
#include <utility>

namespace wowfix::hostsim {

namespace {

typedef AEffect* (*PluginEntry)(audioMasterCallback);

std::string lastDlError(const char* fallback) {
    const char* text = dlerror();
    return text != nullptr ? std::string(text) : std::string(fallback);
}

// dlsym answers null both for a missing symbol and for a symbol whose value
// is null; only a pending dlerror tells them apart, so clear it first.
PluginEntry findEntry(void* handle, const char* name) {
    dlerror();
    void* symbol = dlsym(handle, name);
    if (dlerror() != nullptr || symbol == nullptr) return nullptr;
    PluginEntry entry = nullptr;
    static_assert(sizeof(entry) == sizeof(symbol), "function and data pointers differ in size");
    std::memcpy(&entry, &symbol, sizeof(entry));
    return entry;
}

}  // namespace

std::unique_ptr<PluginLibrary> PluginLibrary::load(const std::string& path, HostCallbacks* host,
                                                   std::string& error) {
    error.clear();
    if (path.empty()) {
        error = "no plug-in path given";
        return nullptr;
    }
    dlerror();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        error = "cannot load plug-in '" + path + "': " + lastDlError("unknown loader error");
        return nullptr;
    }

    const char* entryName = "VSTPluginMain";
    PluginEntry entry = findEntry(handle, entryName);
    if (entry == nullptr) {
        entryName = "main";
        entry = findEntry(handle, entryName);
    }
    if (entry == nullptr) {
        error = "cannot load plug-in '" + path + "': no VST entry (VSTPluginMain or main)";
        dlclose(handle);
        return nullptr;
    }

    AEffect* effect = nullptr;
    {
        LoadingHostScope scope(host);
        effect = entry(hostCallback);
    }
    if (effect == nullptr) {
        error = "cannot load plug-in '" + path + "': its entry created no effect";
        dlclose(handle);
        return nullptr;
    }
    if (effect->magic != kEffectMagic || effect->dispatcher == nullptr) {
        // Not a VST 2 record: nothing in it can be trusted, not even its dispatcher.
        error = "cannot load plug-in '" + path + "': not a VST 2 effect (bad magic)";
        dlclose(handle);
        return nullptr;
    }
    attachHost(effect, host);
    std::unique_ptr<PluginLibrary> library(new PluginLibrary(handle, effect, path, entryName));
    library->dispatch(effOpen);
    return library;
}

PluginLibrary::PluginLibrary(void* handle, AEffect* effect, std::string path, std::string entryName)
    : handle_(handle), effect_(effect), path_(std::move(path)), entryName_(std::move(entryName)) {}

PluginLibrary::~PluginLibrary() {
    if (effect_ != nullptr) effect_->dispatcher(effect_, effClose, 0, 0, nullptr, 0.0f);
    effect_ = nullptr;
    if (handle_ != nullptr) dlclose(handle_);
}

VstIntPtr PluginLibrary::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) const {
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

}  // namespace wowfix::hostsim
