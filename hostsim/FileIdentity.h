#pragma once
// Whether two paths name the same file on disk (same device and inode), be it
// through the same name, another spelling, a hard link or a symbolic link.

#include <cstdint>
#include <string>

namespace wowfix::hostsim {

// False when either path does not exist.
bool sameFile(const std::string& a, const std::string& b);
// The number the file system gives the file (a file replaced by renaming
// another onto its name gets a new one); 0 when the file does not exist or
// the system has no such number at hand.
std::uint64_t fileSerial(const std::string& path);

}  // namespace wowfix::hostsim
