#include "tasks/RuntimeModule.h"

#include <windows.h>

namespace wowfix {

RuntimeModule::~RuntimeModule() {
    if (handle_ != nullptr) FreeLibrary(static_cast<HMODULE>(handle_));
}

std::unique_ptr<RuntimeModule> RuntimeModule::open(const std::string& path, std::string& error) {
    if (path.find('\\') == std::string::npos && path.find('/') == std::string::npos) {
        error = "\"" + path + "\" is not a full path";
        return nullptr;
    }
    HMODULE handle = LoadLibraryA(path.c_str());
    if (handle == nullptr) {
        error = "cannot load \"" + path + "\" (error " + std::to_string(GetLastError()) + ")";
        return nullptr;
    }
    return std::unique_ptr<RuntimeModule>(new RuntimeModule(handle));
}

void* RuntimeModule::symbol(const char* name) const {
    if (handle_ == nullptr) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

std::string RuntimeModule::ownFolder() {
    static const int anchor = 0;
    HMODULE self = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&anchor), &self))
        return {};
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    const std::string file(path, length);
    const std::size_t slash = file.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

std::string RuntimeModule::fileName(const std::string& name) { return name + ".dll"; }

}  // namespace wowfix
