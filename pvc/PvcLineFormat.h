#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace wowfix {

// One line of the .pvc text: "<position> <value>" with the value written with
// six decimals and a point as the decimal separator, whatever the process
// locale is. The formatting and parsing go through std::to_chars and
// std::from_chars, which never consult LC_NUMERIC.

// Appends "<position> <value, six decimals>\r\n" to `out`.
void appendPvcLine(std::string& out, std::int32_t position, double value);

// Parses one line (without its line end). The position is the text before the
// first space and must be a whole decimal number inside the signed 32-bit
// range; the value is the number after that space (leading blanks skipped, the
// first comma read as a decimal point, trailing text ignored) and must be
// finite and above 0 once narrowed to single precision. Answers false for a
// line that does not meet these rules; then nothing is written.
bool parsePvcLine(std::string_view line, std::int32_t& position, float& value);

}  // namespace wowfix
