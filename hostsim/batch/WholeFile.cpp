#include "hostsim/batch/WholeFile.h"

#include <cstdio>

#include "tools/soundio/ReplacingFile.h"

namespace wowfix::batch {

bool writeWholeFile(const std::string& path, const std::string& text, std::string& error) {
    std::unique_ptr<soundio::ReplacingFile> file = soundio::ReplacingFile::create(path, error);
    if (!file) return false;
    std::FILE* out = fdopen(file->takeDescriptor(), "wb");
    if (out == nullptr) {
        error = path + ": cannot write";
        return false;
    }
    const bool ok = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    if (std::fclose(out) != 0 || !ok) {
        error = path + ": write failed";
        return false;
    }
    return file->commit(error);
}

}  // namespace wowfix::batch
