#pragma once
// Whether two paths name the same file on disk (same device and inode), be it
// through the same name, another spelling, a hard link or a symbolic link.

#include <string>

namespace wowfix::hostsim {

// False when either path does not exist.
bool sameFile(const std::string& a, const std::string& b);

}  // namespace wowfix::hostsim
