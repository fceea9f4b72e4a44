#include "tools/soundio/ReplacingFile.h"

#include "tools/soundio/FileReplacement.h"
#include "tools/soundio/PathLimit.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

namespace wowfix::soundio {

std::unique_ptr<ReplacingFile> ReplacingFile::create(const std::string& target, std::string& error) {
    const std::size_t slash = lastPathSeparator(target);
    const std::string directory = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    if (name.empty() || name == "." || name == "..") {
        error = "cannot write '" + target + "': not a file name";
        return nullptr;
    }
    const std::string pattern = directory + "." + name + ".partial-XXXXXX";
    std::string why;
    if (!pathFits(target, why) || !pathFits(pattern, why)) {
        error = "cannot write '" + target + "': " + why;
        return nullptr;
    }
    std::string path = pattern;
    const int fd = createUniqueFile(path);
    if (fd < 0) {
        error = "cannot write '" + target + "': " + std::strerror(errno);
        return nullptr;
    }
    return std::unique_ptr<ReplacingFile>(new ReplacingFile(target, path, fd));
}

ReplacingFile::ReplacingFile(std::string target, std::string tempPath, int fd)
    : target_(std::move(target)), tempPath_(std::move(tempPath)), fd_(fd) {}

ReplacingFile::~ReplacingFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_) std::remove(tempPath_.c_str());
}

int ReplacingFile::takeDescriptor() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

bool ReplacingFile::commit(std::string& error) {
    if (committed_) return true;
    if (fd_ >= 0) {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) {
            error = "cannot complete '" + target_ + "': " + std::strerror(errno);
            return false;
        }
    }
    std::string why;
    if (!replaceWith(tempPath_, target_, why)) {
        error = "cannot write '" + target_ + "': " + why;
        return false;
    }
    committed_ = true;
    return true;
}

bool writeText(ReplacingFile& file, const std::string& text, std::string& error) {
    std::FILE* stream = std::fopen(file.tempPath().c_str(), "wb");
    if (stream == nullptr) {
        error = "cannot write '" + file.target() + "': " + std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), stream) == text.size();
    const bool closed = std::fclose(stream) == 0;
    if (!written || !closed) {
        error = "cannot write '" + file.target() + "': " + std::strerror(errno);
        return false;
    }
    return true;
}

bool writeTextFile(const std::string& target, const std::string& text, std::string& error) {
    std::unique_ptr<ReplacingFile> file = ReplacingFile::create(target, error);
    return file != nullptr && writeText(*file, text, error) && file->commit(error);
}

}  // namespace wowfix::soundio
