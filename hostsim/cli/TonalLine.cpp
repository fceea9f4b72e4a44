#include "hostsim/cli/TonalLine.h"

#include "hostsim/cli/Arguments.h"

#include <cstdio>

namespace wowfix::hostsim {

namespace {

constexpr const char* kLineAlgorithm = "cog";

std::string seconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f s", value);
    return text;
}

bool parseLine(const std::string& text, TonalLine& line, std::string& error) {
    const std::size_t first = text.find(':');
    const std::size_t second = first == std::string::npos ? first : text.find(':', first + 1);
    const std::string bad = "bad line '" + text + "': ";
    if (second == std::string::npos || text.find(':', second + 1) != std::string::npos) {
        error = bad + "expected START:FREQ:END (seconds, Hz, seconds)";
        return false;
    }
    if (!parseNumber(text.substr(0, first), line.start) ||
        !parseNumber(text.substr(first + 1, second - first - 1), line.frequency) ||
        !parseNumber(text.substr(second + 1), line.end)) {
        error = bad + "START, FREQ and END must be numbers";
        return false;
    }
    if (line.start < 0.0 || !(line.end > line.start)) {
        error = bad + "expected 0 <= START < END";
        return false;
    }
    if (!(line.frequency > 0.0)) {
        error = bad + "FREQ must be above 0 Hz";
        return false;
    }
    line.text = text;
    line.given = true;
    return true;
}

}  // namespace

bool readTonalLine(bool given, const std::string& text, const std::string& algorithm, TonalLine& line,
                   std::string& error) {
    line = TonalLine{};
    const bool wanted = algorithm == kLineAlgorithm;
    if (given && !wanted) {
        error = "--line is for --algorithm cog only";
        return false;
    }
    if (!given && wanted) {
        error = "--algorithm cog needs the line to follow: --line START:FREQ:END";
        return false;
    }
    return !given || parseLine(text, line, error);
}

bool tonalLineFits(const TonalLine& line, double frames, double sampleRate, std::string& error) {
    const double duration = sampleRate > 0.0 ? frames / sampleRate : 0.0;
    if (line.end > duration) {
        error = "the line " + seconds(line.start) + " ... " + seconds(line.end) + " lies outside the file (0 ... " +
                seconds(duration) + ")";
        return false;
    }
    if (!(line.frequency < sampleRate / 2.0)) {
        error = "the line's frequency " + std::to_string(static_cast<long long>(line.frequency)) +
                " Hz is not below half the sample rate";
        return false;
    }
    return true;
}

}  // namespace wowfix::hostsim
