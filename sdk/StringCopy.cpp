#include "sdk/StringCopy.h"

namespace wowfix {

void copyText(char* destination, const char* source, std::size_t capacity) {
    if (destination == nullptr || capacity == 0) return;
    std::size_t n = 0;
    if (source != nullptr) {
        while (n + 1 < capacity && source[n] != '\0') {
            destination[n] = source[n];
            ++n;
        }
    }
    destination[n] = '\0';
}

}  // namespace wowfix
