#pragma once
// wowfix-host detect: the plug-in finds the speed curve of a file with one of
// its detectors and writes it as a .pvc file; or, with --list-params, the
// detector's parameters and their present settings.

#include "hostsim/cli/CommandLine.h"

#include <ostream>

namespace wowfix::hostsim {

// The parameter list goes to `out`, messages and progress bars to `err`.
int runDetect(const DetectOptions& options, std::ostream& out, std::ostream& err);

}  // namespace wowfix::hostsim
