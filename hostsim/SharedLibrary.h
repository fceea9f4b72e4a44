#pragma once
// The system's loader for shared libraries (a .so through dlopen, a DLL
// through LoadLibrary): one file for each system implements it.

#include <string>

namespace wowfix::hostsim {

// The library's handle, or null with `error` set to the loader's reason.
void* openSharedLibrary(const std::string& path, std::string& error);
// The address of an exported `name`, or null when it has none.
void* findSharedSymbol(void* handle, const char* name);
void closeSharedLibrary(void* handle);

}  // namespace wowfix::hostsim
