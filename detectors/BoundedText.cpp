#include "detectors/BoundedText.h"

namespace wowfix {

void copyBoundedText(const char* source, char* destination)
{
    if (source == nullptr || destination == nullptr)
        return;
    int i = 0;
    while (source[i] != '\0' && destination[i] != '\0') {
        destination[i] = source[i];
        ++i;
    }
    if (source[i] == '\0' && destination[i] != '\0')
        destination[i] = '\0';
}

}  // namespace wowfix
