#pragma once

namespace wowfix {

// Copies a parameter name or label into a caller's buffer whose usable part the
// caller has pre-filled with a non-zero byte and which is zero after that part
// (the editor fills 98 bytes with 1 for names and 18 for labels). The pre-filled
// length is the capacity: the copy stops at the end of the source or in front of
// the first 0 already in the buffer, whichever comes first. When the source ends
// first a terminating 0 follows the copied text; otherwise the text is cut there
// and the zero already in the buffer terminates it. A null source or destination
// copies nothing.
void copyBoundedText(const char* source, char* destination);

}  // namespace wowfix
