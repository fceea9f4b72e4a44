#pragma once
// What a replacing file asks of the system (one file for each system
// implements it): a new file of a unique name, and a rename that replaces the
// file already at the target.

#include <string>

namespace wowfix::soundio {

// Creates and opens (binary, read-write) a new file whose name is `pattern`
// with its trailing "XXXXXX" made unique; the pattern becomes the name. The
// descriptor, or -1 with errno set.
int createUniqueFile(std::string& pattern);
// Renames `from` onto `to`, replacing a file already there in one step.
// False with `error` set to the system's reason.
bool replaceWith(const std::string& from, const std::string& to, std::string& error);
// Where the folder part of `path` ends: the last path separator, or npos.
std::size_t lastPathSeparator(const std::string& path);

}  // namespace wowfix::soundio
