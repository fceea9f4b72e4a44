#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace wowfix::hostsim {

// wowfix-host script INPUT FILE [--plugin P] [--quiet]: opens the plug-in's
// editor window without a screen on INPUT, runs the spectrogram pass and then
// the steps of FILE (hostsim/cli/EditorScript.h) one after the other, as a
// user would in a host. Each step's outcome goes to `out` as one line. A bad
// line stops the command before anything is opened or written; a step that
// fails stops the script there.
int runScript(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace wowfix::hostsim
