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
    // Creates the empty temporary file; null with `error` set on failure.
    static std::unique_ptr<ReplacingFile> create(const std::string& target, std::string& error);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    const std::string& target() const { return target_; }
    const std::string& tempPath() const { return tempPath_; }

    // Renames the temporary file onto the target. Whatever wrote the
    // temporary file must have closed it.
    bool commit(std::string& error);

private:
    ReplacingFile(std::string target, std::string tempPath);

    std::string target_;
    std::string tempPath_;
    bool committed_ = false;
};

// Writes `text` (bytes as they are) into the temporary file of `file`.
bool writeText(ReplacingFile& file, const std::string& text, std::string& error);
// Writes `text` to `target` through a ReplacingFile and commits it.
bool writeTextFile(const std::string& target, const std::string& text, std::string& error);

}  // namespace wowfix::soundio
