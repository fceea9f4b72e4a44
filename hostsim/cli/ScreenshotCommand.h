#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace wowfix::hostsim {

// wowfix-host screenshot INPUT OUT.png [--after "ACTIONS"] [--panel]
// [--plugin P] [--quiet]: opens the plug-in's editor window without a screen
// on INPUT, runs the spectrogram pass, replays the actions ("click 72=4;
// click 30; drag X,Y X,Y; rclick X,Y; wheel N; key K; answer PATH") and
// writes the window's picture (or the panel's) as a PNG file.
int runScreenshot(const std::vector<std::string>& args, std::ostream& err);

}  // namespace wowfix::hostsim
