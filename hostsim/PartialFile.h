#pragma once
// A file written beside its final name and renamed onto it only when it is
// complete, so that an existing file at the final name is never left half
// overwritten: ".NAME.partial-XXXXXX" in the target's directory.

#include <memory>
#include <string>

namespace wowfix::hostsim {

class PartialFile {
public:
    // Creates the temporary file (mode 0666 less the umask). Answers null
    // with `error` set when it cannot be created.
    static std::unique_ptr<PartialFile> create(const std::string& target, std::string& error);
    // Removes the temporary file unless it was committed.
    ~PartialFile();
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    const std::string& target() const { return target_; }
    const std::string& tempPath() const { return tempPath_; }

    // Hands the open descriptor to a writer that will close it; -1 when it
    // was already taken.
    int takeDescriptor();
    // Renames the temporary file onto the target. The descriptor must be
    // closed by then. Answers false with `error` set when the rename fails
    // (the temporary file is removed then too).
    bool commit(std::string& error);
    bool committed() const { return committed_; }

private:
    PartialFile(std::string target, std::string tempPath, int fd);

    std::string target_;
    std::string tempPath_;
    int fd_;
    bool committed_ = false;
};

}  // namespace wowfix::hostsim
