#include "tools/soundio/FileReplacement.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace wowfix::soundio {

namespace {

mode_t defaultFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

}  // namespace

int createUniqueFile(std::string& pattern) {
    const int fd = mkstemp(pattern.data());
    // mkstemp makes the file 0600; a finished file gets the mode any new file gets.
    if (fd >= 0) fchmod(fd, defaultFileMode());
    return fd;
}

bool replaceWith(const std::string& from, const std::string& to, std::string& error) {
    if (std::rename(from.c_str(), to.c_str()) == 0) return true;
    error = std::strerror(errno);
    return false;
}

std::size_t lastPathSeparator(const std::string& path) { return path.find_last_of('/'); }

}  // namespace wowfix::soundio
