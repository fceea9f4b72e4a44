#include "hostsim/gui/HeldFiles.h"

#include "tools/soundio/ReplacingFile.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <unistd.h>

namespace wowfix::hostsim {

HeldFiles::~HeldFiles() {
    std::error_code ignored;
    for (const HeldFile& f : files_)
        if (f.temporary) std::filesystem::remove(f.path, ignored);
}

int HeldFiles::add(const std::string& path, const std::string& name, bool temporary) {
    files_.push_back(HeldFile{path, name, nextId_++, temporary});
    return count() - 1;
}

const HeldFile* HeldFiles::at(int index) const {
    return index >= 0 && index < count() ? &files_[static_cast<size_t>(index)] : nullptr;
}

std::string HeldFiles::temporaryPath() {
    std::error_code error;
    std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    if (error) folder = "/tmp";
    return (folder / ("wowfix-host-" + std::to_string(getpid()) + "-" + std::to_string(++temporaries_) + ".wav"))
        .string();
}

bool HeldFiles::saveAs(int index, const std::string& target, std::string& error) {
    if (index < 0 || index >= count()) {
        error = "there is no such file to save";
        return false;
    }
    HeldFile& file = files_[static_cast<size_t>(index)];
    std::error_code same;
    if (std::filesystem::equivalent(file.path, target, same)) {
        error = "'" + target + "' is the file itself";
        return false;
    }
    std::ifstream in(file.path, std::ios::binary);
    if (!in) {
        error = "cannot read '" + file.path + "'";
        return false;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!soundio::writeTextFile(target, bytes, error)) return false;
    if (file.temporary) {
        std::error_code ignored;
        std::filesystem::remove(file.path, ignored);
        file.temporary = false;
    }
    file.path = target;
    const size_t slash = target.find_last_of('/');
    file.name = slash == std::string::npos ? target : target.substr(slash + 1);
    return true;
}

}  // namespace wowfix::hostsim
