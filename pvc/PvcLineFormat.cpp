#include "pvc/PvcLineFormat.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace wowfix {

void appendPvcLine(std::string& out, std::int32_t position, double value)
{
    // Large enough for any int32, one space, the longest fixed-point double
    // (309 integer digits, a point and six decimals) and CR LF.
    char buffer[400];
    char* const end = buffer + sizeof buffer;
    char* p = std::to_chars(buffer, end, position).ptr;
    *p++ = ' ';
    const std::to_chars_result r = std::to_chars(p, end - 2, value, std::chars_format::fixed, 6);
    p = r.ec == std::errc() ? r.ptr : p;
    *p++ = '\r';
    *p++ = '\n';
    out.append(buffer, static_cast<std::size_t>(p - buffer));
}

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool parsePosition(std::string_view text, std::int32_t& position)
{
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return false;
    std::int64_t magnitude = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        magnitude = magnitude * 10 + (c - '0');
        // Stop before the 64-bit accumulator could overflow: anything past
        // 2^31 is out of range anyway.
        if (magnitude > (std::int64_t{1} << 32))
            return false;
    }
    const std::int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue < std::numeric_limits<std::int32_t>::min() ||
        signedValue > std::numeric_limits<std::int32_t>::max())
        return false;
    position = static_cast<std::int32_t>(signedValue);
    return true;
}

bool parseValue(std::string_view text, float& value)
{
    std::size_t start = 0;
    while (start < text.size() && isBlank(text[start]))
        ++start;
    text.remove_prefix(start);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty() || text.front() == '-' || text.front() == '+')
        return false;  // a negative value is never valid; "+-1" is no number

    // Files written with a comma as decimal separator read the same: the first
    // comma stands for the point. Only the leading number matters, so a short
    // copy is enough to hold it and the comma can be replaced there.
    std::string number(text.substr(0, 128));
    const std::size_t comma = number.find(',');
    if (comma != std::string::npos)
        number[comma] = '.';

    double parsed = 0.0;
    const std::from_chars_result r =
        std::from_chars(number.data(), number.data() + number.size(), parsed, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr == number.data())
        return false;
    if (!std::isfinite(parsed) || parsed > static_cast<double>(std::numeric_limits<float>::max()))
        return false;
    const float narrowed = static_cast<float>(parsed);
    if (!(narrowed > 0.0f))
        return false;
    value = narrowed;
    return true;
}

}  // namespace

bool parsePvcLine(std::string_view line, std::int32_t& position, float& value)
{
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos)
        return false;
    std::int32_t p = 0;
    float v = 0.0f;
    if (!parsePosition(line.substr(0, space), p) || !parseValue(line.substr(space + 1), v))
        return false;
    position = p;
    value = v;
    return true;
}

}  // namespace wowfix
