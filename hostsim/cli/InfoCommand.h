#pragma once
// wowfix-host info: what a VST 2 plug-in says about itself.

#include "hostsim/cli/CommandLine.h"

#include <ostream>

namespace wowfix::hostsim {

int runInfo(const InfoOptions& options, std::ostream& out, std::ostream& err);

}  // namespace wowfix::hostsim
