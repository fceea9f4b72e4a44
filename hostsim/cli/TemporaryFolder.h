#pragma once
// A new folder of a unique name in the system's folder for temporary files:
// $TMPDIR (or /tmp) on POSIX systems, %TEMP% on Windows. One file for each
// system implements it.

#include <string>

namespace wowfix::hostsim {

// Makes the folder `prefix` + six unique characters; false with `error` set
// when it cannot.
bool makeTemporaryFolder(const std::string& prefix, std::string& folder, std::string& error);

}  // namespace wowfix::hostsim
