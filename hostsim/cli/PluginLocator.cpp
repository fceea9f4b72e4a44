#include "hostsim/cli/PluginLocator.h"

#include <unistd.h>

#include <climits>

namespace wowfix::hostsim {

namespace {

#ifdef WOWFIX_PLUGIN_FILE_NAME
constexpr const char* kPluginFileName = WOWFIX_PLUGIN_FILE_NAME;
#else
constexpr const char* kPluginFileName = "libwowfix.so";
#endif

}  // namespace

std::string executableDirectory() {
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    if (length <= 0) return std::string();
    std::string path(buffer, static_cast<std::size_t>(length));
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::vector<std::string> defaultPluginCandidates(const std::string& directory) {
    std::vector<std::string> candidates;
    if (!directory.empty()) {
        candidates.push_back(directory + kPluginFileName);
        candidates.push_back(directory + "../host/" + kPluginFileName);
    }
#ifdef WOWFIX_DEFAULT_PLUGIN
    candidates.push_back(WOWFIX_DEFAULT_PLUGIN);
#endif
    return candidates;
}

bool locatePlugin(const std::string& requested, std::string& path, std::string& error) {
    if (!requested.empty()) {
        path = requested;
        return true;
    }
    const std::vector<std::string> candidates = defaultPluginCandidates(executableDirectory());
    for (const std::string& candidate : candidates)
        if (access(candidate.c_str(), R_OK) == 0) {
            path = candidate;
            return true;
        }
    error = "cannot find the wowfix plug-in (looked for";
    for (std::size_t i = 0; i < candidates.size(); ++i) error += (i == 0 ? " '" : ", '") + candidates[i] + "'";
    error += candidates.empty() ? " nothing)" : "); name one with --plugin PATH";
    return false;
}

}  // namespace wowfix::hostsim
