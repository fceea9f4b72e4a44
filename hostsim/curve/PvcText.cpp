#include "hostsim/curve/PvcText.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>

#include "tools/soundio/ReplacingFile.h"

namespace wowfix::curve {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// A decimal fraction "[-+]digits[.digits][e[-+]digits]" (comma allowed for
// the point), read without the C locale.
bool parseDecimal(const std::string& text, double& value) {
    std::string t = text;
    for (char& c : t)
        if (c == ',') c = '.';
    if (!t.empty() && t[0] == '+') t.erase(0, 1);
    const char* begin = t.data();
    const char* end = t.data() + t.size();
    const auto result = std::from_chars(begin, end, value, std::chars_format::general);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

bool parseInteger(const std::string& text, std::int64_t& value) {
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    if (begin != end && *begin == '+') ++begin;
    const auto result = std::from_chars(begin, end, value);
    return result.ec == std::errc() && result.ptr == end;
}

}  // namespace

bool parsePvc(std::istream& in, const std::string& name, SpeedCurve& curve, std::string& error) {
    curve.points.clear();
    std::string line;
    long lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        const std::string where = name + ":" + std::to_string(lineNumber) + ": ";
        std::size_t a = 0;
        while (a < line.size() && isBlank(line[a])) ++a;
        if (a == line.size()) continue;
        std::size_t b = a;
        while (b < line.size() && !isBlank(line[b])) ++b;
        std::size_t c = b;
        while (c < line.size() && isBlank(line[c])) ++c;
        std::size_t d = c;
        while (d < line.size() && !isBlank(line[d])) ++d;
        std::size_t e = d;
        while (e < line.size() && isBlank(line[e])) ++e;
        CurvePoint point;
        if (c == d || e != line.size()) {
            error = where + "expected 'position value', found '" + line.substr(a, line.find_last_not_of(" \t\r") + 1 - a) + "'";
            return false;
        }
        const std::string positionText = line.substr(a, b - a);
        const std::string valueText = line.substr(c, d - c);
        if (!parseInteger(positionText, point.position)) {
            error = where + "position '" + positionText + "' is not a whole number";
            return false;
        }
        if (!parseDecimal(valueText, point.value)) {
            error = where + "value '" + valueText + "' is not a number";
            return false;
        }
        if (point.position < 0) {
            error = where + "position " + positionText + " is before the selection's start";
            return false;
        }
        if (!(point.value > 0.0 && point.value <= 2.0)) {
            error = where + "value " + valueText + " is outside (0, 2]";
            return false;
        }
        if (!curve.points.empty() && point.position <= curve.points.back().position) {
            error = where + "position " + positionText + " does not follow " +
                    std::to_string(curve.points.back().position) + " (positions must ascend)";
            return false;
        }
        curve.points.push_back(point);
    }
    if (in.bad()) {
        error = name + ": read failed";
        return false;
    }
    if (curve.points.empty()) {
        error = name + ": no points";
        return false;
    }
    return true;
}

bool readPvcFile(const std::string& path, SpeedCurve& curve, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot open the curve";
        return false;
    }
    return parsePvc(in, path, curve, error);
}

std::string formatPvc(const SpeedCurve& curve) {
    std::string text;
    text.reserve(curve.points.size() * 20);
    char number[64];
    for (const CurvePoint& p : curve.points) {
        // Six decimals of the rounded value, formatted from integers so that
        // no locale can put a comma in.
        const double scaled = std::round(p.value * 1e6);
        const long long micro = static_cast<long long>(scaled);
        std::snprintf(number, sizeof(number), "%lld %lld.%06lld\r\n", static_cast<long long>(p.position),
                      micro / 1000000, micro % 1000000);
        text += number;
    }
    return text;
}

bool writePvcFile(const std::string& path, const SpeedCurve& curve, std::string& error) {
    std::unique_ptr<soundio::ReplacingFile> file = soundio::ReplacingFile::create(path, error);
    if (!file) return false;
    std::FILE* out = fdopen(file->takeDescriptor(), "wb");
    if (out == nullptr) {
        error = path + ": cannot write";
        return false;
    }
    const std::string text = formatPvc(curve);
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    const bool closed = std::fclose(out) == 0;
    if (!written || !closed) {
        error = path + ": write failed";
        return false;
    }
    return file->commit(error);
}

}  // namespace wowfix::curve
