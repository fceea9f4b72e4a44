#pragma once
#include <cstddef>

namespace wowfix {

// Copies at most capacity - 1 characters of source into a buffer of capacity
// bytes and always terminates it. A null source copies the empty text.
void copyText(char* destination, const char* source, std::size_t capacity);

}  // namespace wowfix
