#include "hostsim/cli/ExecutableDirectory.h"

#include <windows.h>

#include <vector>

namespace wowfix::hostsim {

std::string executableDirectory() {
    // GetModuleFileNameA cuts a long path to the buffer; a longer buffer is
    // tried until the whole path fits.
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return std::string();
        if (length < buffer.size()) {
            std::string path(buffer.data(), length);
            const std::size_t slash = path.find_last_of("\\/");
            return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
        }
        if (buffer.size() >= 32768) return std::string();
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace wowfix::hostsim
