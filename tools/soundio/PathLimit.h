#pragma once
// The longest path the system's file calls take (Windows' ANSI calls stop at
// MAX_PATH; POSIX systems have no such limit that matters here).

#include <string>

namespace wowfix::soundio {

// True when `path` can be handed to the system; otherwise false with `error`
// saying why (without the path, which the caller names): a clear refusal
// instead of a failure deep in a library.
bool pathFits(const std::string& path, std::string& error);

}  // namespace wowfix::soundio
