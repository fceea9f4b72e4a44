#pragma once
// Strict readers for the values of command-line options: the whole text must
// be the value, or it is refused.

#include <string>

namespace wowfix::hostsim {

// Decimal digits only (no sign, no spaces), fitting in a long long.
bool parseWholeNumber(const std::string& text, long long& value);
// A finite decimal number such as "-3", "12.5" or "1e2".
bool parseNumber(const std::string& text, double& value);

// "START:END" with whole numbers and END > START. On failure `error` says
// what is wrong with the text, for "bad <what> '<text>': <error>".
bool parseFrameRange(const std::string& text, long long& start, long long& end, std::string& error);
// "LOW:HIGH" with numbers and LOW < HIGH.
bool parseNumberRange(const std::string& text, double& low, double& high, std::string& error);
// "WxH" with whole numbers.
bool parseSize(const std::string& text, long long& width, long long& height, std::string& error);

}  // namespace wowfix::hostsim
