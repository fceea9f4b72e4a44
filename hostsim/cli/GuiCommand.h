#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace wowfix::hostsim {

// wowfix-host gui [INPUT] [--plugin P]: the host's window on the display with
// the plug-in's editor inside and the host's frame below it (open, process,
// save as, the files held, selection and cursor). Answers the exit status
// when the user quits.
int runGui(const std::vector<std::string>& args, std::ostream& err);

}  // namespace wowfix::hostsim
