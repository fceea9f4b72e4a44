#include "tools/soundio/FileReplacement.h"

#include "tools/soundio/SystemMessage.h"

#include <windows.h>

#include <cstdlib>
#include <string>

namespace wowfix::soundio {

int createUniqueFile(std::string& pattern) {
    // The C runtime's mkstemp opens the file binary, created exclusively.
    return mkstemp(pattern.data());
}

bool replaceWith(const std::string& from, const std::string& to, std::string& error) {
    // rename() on Windows refuses a target that exists.
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) return true;
    error = systemMessage(GetLastError());
    return false;
}

std::size_t lastPathSeparator(const std::string& path) { return path.find_last_of("\\/"); }

}  // namespace wowfix::soundio
