#include "tools/gen/TruePvc.h"

#include <charconv>

namespace wowfix::gen {

void appendPvcPoint(std::string& text, std::int64_t position, double value) {
    char line[64];
    char* end = std::to_chars(line, line + sizeof(line), position).ptr;
    *end++ = ' ';
    end = std::to_chars(end, line + sizeof(line) - 2, value, std::chars_format::fixed, 6).ptr;
    *end++ = '\r';
    *end++ = '\n';
    text.append(line, end);
}

std::string truePvcText(const SpeedModel& speed, double sampleRate, std::int64_t frames, int step) {
    std::string text;
    if (frames <= 0 || step < 1) return text;
    std::int64_t n = 0;
    for (; n < frames; n += step) appendPvcPoint(text, n, speed.frameRatio(n, sampleRate));
    if (n - step != frames - 1) appendPvcPoint(text, frames - 1, speed.frameRatio(frames - 1, sampleRate));
    return text;
}

}  // namespace wowfix::gen
