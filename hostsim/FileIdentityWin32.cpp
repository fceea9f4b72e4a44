#include "hostsim/FileIdentity.h"

#include <windows.h>

#include <filesystem>
#include <system_error>

namespace wowfix::hostsim {

// Windows has no inode in stat; the file system's own identity (volume and
// file index) is what std::filesystem compares.
bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    const bool same = std::filesystem::equivalent(a, b, error);
    return !error && same;
}

// The file index, read through a handle that asks for no access (the file may
// be open elsewhere). The C runtime's times have whole seconds only, so a file
// replaced within the same second by one of the same size is told apart by
// its index alone.
std::uint64_t fileSerial(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    BY_HANDLE_FILE_INFORMATION information{};
    const bool known = GetFileInformationByHandle(file, &information) != FALSE;
    CloseHandle(file);
    if (!known) return 0;
    return static_cast<std::uint64_t>(information.nFileIndexHigh) << 32 | information.nFileIndexLow;
}

}  // namespace wowfix::hostsim
