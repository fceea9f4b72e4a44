#pragma once
// wowfix-host demo: a self-contained run of the whole road. It makes a
// damaged recording with known wow, flutter and drift (music with a 3150 Hz
// test tone and a 19 kHz pilot, through the generator), measures it, has the
// plug-in find the curve from the pilot and correct the file (as auto does),
// measures the result, and compares the curve found with the true one. The
// files stay in a fresh folder under the temporary directory.

#include "hostsim/cli/CommandLine.h"

#include <ostream>

namespace wowfix::hostsim {

// The figures go to `out`, progress and messages to `err`.
int runDemo(const DemoOptions& options, std::ostream& out, std::ostream& err);

}  // namespace wowfix::hostsim
