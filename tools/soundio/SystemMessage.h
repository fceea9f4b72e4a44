#pragma once
// The system's own wording of an error code (Windows: GetLastError's codes,
// through FormatMessage), without its trailing line break.

#include <string>

namespace wowfix::soundio {

std::string systemMessage(unsigned long code);

}  // namespace wowfix::soundio
