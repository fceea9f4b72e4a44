#include "hostsim/PartialFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

namespace wowfix::hostsim {

namespace {

mode_t defaultFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

void splitPath(const std::string& path, std::string& directory, std::string& name) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        directory.clear();
        name = path;
    } else {
        directory = path.substr(0, slash + 1);
        name = path.substr(slash + 1);
    }
}

}  // namespace

std::unique_ptr<PartialFile> PartialFile::create(const std::string& target, std::string& error) {
    std::string directory;
    std::string name;
    splitPath(target, directory, name);
    if (name.empty()) {
        error = "cannot write '" + target + "': not a file name";
        return nullptr;
    }
    std::string pattern = directory + "." + name + ".partial-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = mkstemp(buffer.data());
    if (fd < 0) {
        error = "cannot write '" + target + "': " + std::strerror(errno);
        return nullptr;
    }
    fchmod(fd, defaultFileMode());
    return std::unique_ptr<PartialFile>(new PartialFile(target, std::string(buffer.data()), fd));
}

PartialFile::PartialFile(std::string target, std::string tempPath, int fd)
    : target_(std::move(target)), tempPath_(std::move(tempPath)), fd_(fd) {}

PartialFile::~PartialFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_) std::remove(tempPath_.c_str());
}

int PartialFile::takeDescriptor() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

bool PartialFile::commit(std::string& error) {
    if (committed_) return true;
    if (fd_ >= 0) {
        if (::close(fd_) != 0) {
            error = "cannot complete '" + target_ + "': " + std::strerror(errno);
            fd_ = -1;
            return false;
        }
        fd_ = -1;
    }
    if (std::rename(tempPath_.c_str(), target_.c_str()) != 0) {
        error = "cannot write '" + target_ + "': " + std::strerror(errno);
        return false;
    }
    committed_ = true;
    return true;
}

}  // namespace wowfix::hostsim
