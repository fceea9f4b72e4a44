#pragma once
// A VST 2 plug-in loaded from a shared library: the library handle and the
// effect record its entry returned.

#include "hostsim/HostCallback.h"

#include <memory>
#include <string>

namespace wowfix::hostsim {

class PluginLibrary {
public:
    // Opens the library, calls its entry (VSTPluginMain, else main) with the
    // host callback, checks the record's magic, tags the record with `host`
    // and sends effOpen. Answers null and sets `error` to a one-line reason
    // when any step fails; nothing stays loaded then.
    static std::unique_ptr<PluginLibrary> load(const std::string& path, HostCallbacks* host, std::string& error);

    // Sends effClose (the plug-in frees its object) and closes the library.
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    AEffect* effect() const { return effect_; }
    const std::string& path() const { return path_; }
    // The name of the entry that created the effect.
    const std::string& entryName() const { return entryName_; }

    // The plug-in's dispatcher, called directly.
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f) const;

private:
    PluginLibrary(void* handle, AEffect* effect, std::string path, std::string entryName);

    void* handle_;
    AEffect* effect_;
    std::string path_;
    std::string entryName_;
};

}  // namespace wowfix::hostsim
