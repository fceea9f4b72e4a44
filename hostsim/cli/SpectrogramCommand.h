#pragma once
// wowfix-host spectrogram: the plug-in's spectrogram pass over the file (or a
// range of it) and the store's levels as a grey-scale PNG, one pixel per
// column and row, white = loud, black = at or below the lower level.

#include "hostsim/cli/CommandLine.h"

#include <ostream>

namespace wowfix::hostsim {

int runSpectrogram(const SpectrogramOptions& options, std::ostream& err);

}  // namespace wowfix::hostsim
