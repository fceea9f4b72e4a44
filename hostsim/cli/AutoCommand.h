#pragma once
// wowfix-host auto: detection and correction in one run through one plug-in
// instance. The plug-in finds the curve, then the host's process request
// corrects the whole file along it; the curve and the spectrogram can be
// kept as files too.

#include "hostsim/cli/CommandLine.h"

#include <ostream>

namespace wowfix::hostsim {

int runAuto(const AutoOptions& options, std::ostream& err);

}  // namespace wowfix::hostsim
