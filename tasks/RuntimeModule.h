#pragma once

#include <memory>
#include <string>

namespace wowfix {

// A shared library loaded at run time by its full path, and the folder this
// code itself was loaded from (the plug-in's folder), where the run-time
// libraries are looked for. The library is freed with the object.
class RuntimeModule {
public:
    ~RuntimeModule();
    RuntimeModule(const RuntimeModule&) = delete;
    RuntimeModule& operator=(const RuntimeModule&) = delete;

    // Null with `error` set when the file cannot be loaded.
    static std::unique_ptr<RuntimeModule> open(const std::string& path, std::string& error);
    // The entry called `name`, or null.
    void* symbol(const char* name) const;

    // The folder of the module that holds this code, with a trailing
    // separator; empty when it cannot be told.
    static std::string ownFolder();
    // "lib" NAME ".so" here, NAME ".dll" on Windows.
    static std::string fileName(const std::string& name);

private:
    explicit RuntimeModule(void* handle) : handle_(handle) {}
    void* handle_;
};

}  // namespace wowfix
