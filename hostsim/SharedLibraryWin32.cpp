#include "hostsim/SharedLibrary.h"

#include "tools/soundio/SystemMessage.h"

#include <windows.h>

#include <cstring>

namespace wowfix::hostsim {

void* openSharedLibrary(const std::string& path, std::string& error) {
    // The plug-in's own folder is searched for the DLLs it needs (its hum
    // libraries lie beside it), as a host loading it from its folder does.
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module == nullptr) error = soundio::systemMessage(GetLastError());
    return reinterpret_cast<void*>(module);
}

void* findSharedSymbol(void* handle, const char* name) {
    FARPROC symbol = GetProcAddress(reinterpret_cast<HMODULE>(handle), name);
    void* address = nullptr;
    static_assert(sizeof(symbol) == sizeof(address), "function and data pointers differ in size");
    std::memcpy(&address, &symbol, sizeof(address));
    return address;
}

void closeSharedLibrary(void* handle) {
    if (handle != nullptr) FreeLibrary(reinterpret_cast<HMODULE>(handle));
}

}  // namespace wowfix::hostsim
