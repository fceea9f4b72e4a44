#include "hostsim/FileIdentity.h"

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

// The file index would need the file opened; size and time of writing tell
// a file written anew well enough there.
std::uint64_t fileSerial(const std::string&) { return 0; }

}  // namespace wowfix::hostsim
