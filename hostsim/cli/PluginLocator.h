#pragma once
// Where wowfix-host finds its plug-in when no --plugin is given: beside the
// executable, in the build tree's host/ directory next to it, or at the path
// this build configured.

#include "hostsim/cli/ExecutableDirectory.h"

#include <string>
#include <vector>

namespace wowfix::hostsim {

// The places to look, in order, for an executable in `directory`.
std::vector<std::string> defaultPluginCandidates(const std::string& directory);

// `requested` when it is not empty; otherwise the first candidate that
// exists. Answers false with `error` naming the places looked at.
bool locatePlugin(const std::string& requested, std::string& path, std::string& error);

}  // namespace wowfix::hostsim
