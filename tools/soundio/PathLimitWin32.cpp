#include "tools/soundio/PathLimit.h"

#include <windows.h>

namespace wowfix::soundio {

bool pathFits(const std::string& path, std::string& error) {
    // MAX_PATH counts the terminating null.
    if (path.size() < MAX_PATH) return true;
    error = "the path is " + std::to_string(path.size()) + " characters long; Windows takes at most " +
            std::to_string(MAX_PATH - 1);
    return false;
}

}  // namespace wowfix::soundio
