#include "hostsim/cli/TemporaryFolder.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace wowfix::hostsim {

bool makeTemporaryFolder(const std::string& prefix, std::string& folder, std::string& error) {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/" + prefix + "XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        error = "cannot make a folder for the files (" + pattern + "): " + std::strerror(errno);
        return false;
    }
    folder = pattern;
    return true;
}

}  // namespace wowfix::hostsim
