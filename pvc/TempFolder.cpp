#include "pvc/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace wowfix {

namespace {

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

bool isDirectory(const fs::path& path)
{
    std::error_code ec;
    return fs::is_directory(path, ec);
}

// Keeps folders that we make readable by their owner only: snapshots are the
// user's work, and a shared /tmp is visible to everybody.
void makePrivate(const fs::path& path)
{
    std::error_code ec;
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::replace, ec);
}

}  // namespace

std::string TempFolder::defaultBase()
{
    const std::string chosen = environment("WOWFIX_TEMP");
    if (!chosen.empty())
        return chosen;
#if defined(_WIN32)
    std::string temp = environment("TEMP");
    if (temp.empty())
        temp = environment("TMP");
    if (temp.empty()) {
        std::error_code ec;
        temp = fs::temp_directory_path(ec).string();
    }
    return (fs::path(temp) / "wowfix").string();
#else
    const std::string runtime = environment("XDG_RUNTIME_DIR");
    if (!runtime.empty())
        return (fs::path(runtime) / "wowfix").string();
    std::string user = environment("USER");
    if (user.empty())
        user = environment("LOGNAME");
    const std::string folderName = "wowfix-" + (user.empty() ? std::string("user") : safeName(user));
    const std::string tmp = environment("TMPDIR");
    return (fs::path(tmp.empty() ? std::string("/tmp") : tmp) / folderName).string();
#endif
}

bool TempFolder::createLevels(const std::string& folder)
{
    if (folder.empty())
        return false;
    const fs::path target(folder);
    if (isDirectory(target))
        return true;
    // Walk the path from its root and make each missing level; failures on the
    // way are left to the final check.
    fs::path level;
    for (const fs::path& part : target) {
        if (part.empty())
            continue;
        level /= part;
        if (part == target.root_name() || part == target.root_directory())
            continue;
        if (!isDirectory(level)) {
            std::error_code ec;
            fs::create_directory(level, ec);
        }
    }
    return isDirectory(target);
}

bool TempFolder::createInstanceFolder(const std::string& base, std::string& folder)
{
    folder.clear();
    if (base.empty())
        return false;
    const bool existed = isDirectory(base);
    if (!createLevels(base))
        return false;
    if (!existed)
        makePrivate(base);

    std::random_device source;
    std::mt19937_64 pick((static_cast<std::uint64_t>(source()) << 32) ^ source());
    static const char hex[] = "0123456789abcdef";
    for (int attempt = 0; attempt < 32; ++attempt) {
        std::string name = "pvc-";
        std::uint64_t bits = pick();
        for (int i = 0; i < 12; ++i, bits >>= 4)
            name.push_back(hex[bits & 15u]);
        const fs::path candidate = fs::path(base) / name;
        std::error_code ec;
        // create_directory answers false for a name that exists already: a
        // folder of another instance is never taken over.
        if (fs::create_directory(candidate, ec) && !ec) {
            makePrivate(candidate);
            folder = candidate.string();
            return true;
        }
        std::error_code probe;
        if (ec && !fs::exists(candidate, probe))
            return false;  // the base refuses new folders; retrying will not help
    }
    return false;
}

std::string TempFolder::safeName(std::string_view hostText)
{
    const std::size_t separator = hostText.find_last_of("/\\");
    if (separator != std::string_view::npos)
        hostText.remove_prefix(separator + 1);

    std::string name;
    for (const char c : hostText) {
        const unsigned char u = static_cast<unsigned char>(c);
        const bool rejected = u < 0x20 || u == 0x7f || c == '<' || c == '>' || c == ':' || c == '"' ||
                              c == '|' || c == '?' || c == '*';
        name.push_back(rejected ? '_' : c);
        if (name.size() >= 120)
            break;
    }
    const std::size_t first = name.find_first_not_of(". ");
    if (first == std::string::npos)
        return "unnamed";
    const std::size_t last = name.find_last_not_of(". ");
    return name.substr(first, last - first + 1);
}

std::string TempFolder::unavailableMessage(const std::string& folder)
{
    if (folder.empty())
        return "Undo is not available: no folder for undo snapshots is set.";
    return "Undo is not available: the folder for undo snapshots cannot be created (" + folder + ").";
}

}  // namespace wowfix
