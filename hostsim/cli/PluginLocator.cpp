#include "hostsim/cli/PluginLocator.h"

#include <fstream>

namespace wowfix::hostsim {

namespace {

#ifdef WOWFIX_PLUGIN_FILE_NAME
constexpr const char* kPluginFileName = WOWFIX_PLUGIN_FILE_NAME;
#else
#ifdef _WIN32
constexpr const char* kPluginFileName = "wowfix.dll";
#else
constexpr const char* kPluginFileName = "libwowfix.so";
#endif
#endif

}  // namespace

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
        if (std::ifstream(candidate, std::ios::binary).good()) {
            path = candidate;
            return true;
        }
    error = "cannot find the wowfix plug-in (looked for";
    for (std::size_t i = 0; i < candidates.size(); ++i) error += (i == 0 ? " '" : ", '") + candidates[i] + "'";
    error += candidates.empty() ? " nothing)" : "); name one with --plugin PATH";
    return false;
}

}  // namespace wowfix::hostsim
