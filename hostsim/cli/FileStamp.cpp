#include "hostsim/cli/FileStamp.h"

#include "hostsim/FileIdentity.h"

namespace wowfix::hostsim {

FileStamp stampOf(const std::string& path) {
    std::error_code error;
    FileStamp stamp;
    const std::filesystem::path file(path);
    stamp.size = std::filesystem::file_size(file, error);
    if (error) return stamp;
    stamp.written = std::filesystem::last_write_time(file, error);
    if (error) return stamp;
    stamp.serial = fileSerial(path);
    stamp.exists = true;
    return stamp;
}

}  // namespace wowfix::hostsim
