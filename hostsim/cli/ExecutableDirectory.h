#pragma once
// The folder of the running executable, asked of the system (one file for
// each system implements it).

#include <string>

namespace wowfix::hostsim {

// The directory of the running executable (with a trailing separator); empty
// when it cannot be found.
std::string executableDirectory();

}  // namespace wowfix::hostsim
