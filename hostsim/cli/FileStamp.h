#pragma once
// What tells a file written anew from the one that was there: its size, its
// serial number (a file replaced by renaming gets a new one) and its time of
// writing. A command that has the plug-in write a file through its editor's
// dialog learns from the stamps whether anything was written.

#include <cstdint>
#include <filesystem>
#include <string>

namespace wowfix::hostsim {

struct FileStamp {
    bool exists = false;
    std::uintmax_t size = 0;
    std::uint64_t serial = 0;
    std::filesystem::file_time_type written{};
    bool sameAs(const FileStamp& other) const {
        return exists == other.exists && size == other.size && serial == other.serial && written == other.written;
    }
};

// The stamp of `path`; `exists` is false when there is no such file.
FileStamp stampOf(const std::string& path);

}  // namespace wowfix::hostsim
