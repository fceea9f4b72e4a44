#pragma once
// wowfix-host correct: the host's process request with the plug-in, writing
// the corrected selection as a new file.

#include "hostsim/cli/CommandLine.h"

#include <ostream>

namespace wowfix::hostsim {

// Messages and the progress bar go to `err`. Answers the exit status.
int runCorrect(const CorrectOptions& options, std::ostream& err);

}  // namespace wowfix::hostsim
