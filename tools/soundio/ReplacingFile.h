#pragma once
// A file written beside its final name (".NAME.partial-XXXXXX" in the same
// directory) and renamed onto that name only when complete, so that a run
// that fails part-way never leaves a half-written file where an older one
// stood. An uncommitted temporary file is removed when the object goes.

#include <memory>
#include <string>

namespace wowfix::soundio {

class ReplacingFile {
public:
    // Creates the empty temporary file (mode 0666 less the umask), open; null
    // with `error` set on failure.
    static std::unique_ptr<ReplacingFile> create(const std::string& target, std::string& error);
    // Removes the temporary file unless it was committed.
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    const std::string& target() const { return target_; }
    const std::string& tempPath() const { return tempPath_; }

    // Hands the open descriptor to a writer that will close it; -1 when it
    // was already taken. Writers may instead open tempPath() themselves.
    int takeDescriptor();
    // Renames the temporary file onto the target (closing the descriptor if
    // it was not taken). Whatever wrote through a taken descriptor or an own
    // opening must have closed it. False with `error` set when it fails.
    bool commit(std::string& error);
    bool committed() const { return committed_; }

private:
    ReplacingFile(std::string target, std::string tempPath, int fd);

    std::string target_;
    std::string tempPath_;
    int fd_;
    bool committed_ = false;
};

// Writes `text` (bytes as they are) into the temporary file of `file`.
bool writeText(ReplacingFile& file, const std::string& text, std::string& error);
// Writes `text` to `target` through a ReplacingFile and commits it.
bool writeTextFile(const std::string& target, const std::string& text, std::string& error);

}  // namespace wowfix::soundio
