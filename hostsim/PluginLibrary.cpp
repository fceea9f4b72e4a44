#include "hostsim/PluginLibrary.h"

#include "hostsim/SharedLibrary.h"
#include "tools/soundio/PathLimit.h"

#include <cstring>
#include <utility>

namespace wowfix::hostsim {

namespace {

typedef AEffect* (*PluginEntry)(audioMasterCallback);

PluginEntry findEntry(void* handle, const char* name) {
    void* symbol = findSharedSymbol(handle, name);
    if (symbol == nullptr) return nullptr;
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
    std::string why;
    if (!soundio::pathFits(path, why)) {
        error = "cannot load plug-in '" + path + "': " + why;
        return nullptr;
    }
    void* handle = openSharedLibrary(path, why);
    if (handle == nullptr) {
        error = "cannot load plug-in '" + path + "': " + why;
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
        closeSharedLibrary(handle);
        return nullptr;
    }

    AEffect* effect = nullptr;
    {
        LoadingHostScope scope(host);
        effect = entry(hostCallback);
    }
    if (effect == nullptr) {
        error = "cannot load plug-in '" + path + "': its entry created no effect";
        closeSharedLibrary(handle);
        return nullptr;
    }
    if (effect->magic != kEffectMagic || effect->dispatcher == nullptr) {
        // Not a VST 2 record: nothing in it can be trusted, not even its dispatcher.
        error = "cannot load plug-in '" + path + "': not a VST 2 effect (bad magic)";
        closeSharedLibrary(handle);
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
    closeSharedLibrary(handle_);
}

VstIntPtr PluginLibrary::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) const {
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

}  // namespace wowfix::hostsim
