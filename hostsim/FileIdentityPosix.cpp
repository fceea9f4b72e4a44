#include "hostsim/FileIdentity.h"

#include <sys/stat.h>

namespace wowfix::hostsim {

bool sameFile(const std::string& a, const std::string& b) {
    struct stat first;
    struct stat second;
    if (stat(a.c_str(), &first) != 0 || stat(b.c_str(), &second) != 0) return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

std::uint64_t fileSerial(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) return 0;
    return static_cast<std::uint64_t>(info.st_ino);
}

}  // namespace wowfix::hostsim
