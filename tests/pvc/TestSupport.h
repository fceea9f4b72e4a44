#pragma once

#include "spectral/ValueRowMap.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace wowfix::test {

// A row mapping with easy numbers: value 1.0 on row 130, one row per 0.01.
class LinearRows : public ValueRowMap {
public:
    int rowOfValue(float value) const override { return static_cast<int>(230.0f - value * 100.0f); }
};

// A fresh, empty folder removed again when the object goes.
class ScratchFolder {
public:
    ScratchFolder()
    {
        std::random_device seed;
        std::ostringstream name;
        name << "wowfix-pvc-test-" << std::hex << seed() << seed();
        path_ = std::filesystem::temp_directory_path() / name.str();
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder()
    {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline void writeText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

inline std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace wowfix::test
