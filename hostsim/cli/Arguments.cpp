#include "hostsim/cli/Arguments.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace wowfix::hostsim {

namespace {

bool splitAt(const std::string& text, char separator, std::string& first, std::string& second) {
    const std::size_t at = text.find(separator);
    if (at == std::string::npos || text.find(separator, at + 1) != std::string::npos) return false;
    first = text.substr(0, at);
    second = text.substr(at + 1);
    return true;
}

}  // namespace

bool parseWholeNumber(const std::string& text, long long& value) {
    if (text.empty() || text.size() > 18) return false;
    long long result = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        result = result * 10 + (c - '0');
    }
    value = result;
    return true;
}

bool parseNumber(const std::string& text, double& value) {
    if (text.empty() || text.find_first_of(" \t\n") != std::string::npos) return false;
    errno = 0;
    char* end = nullptr;
    const double result = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(result)) return false;
    // strtod also reads hexadecimal and "inf"/"nan"; only plain decimals are meant.
    if (text.find_first_of("xXnN") != std::string::npos) return false;
    value = result;
    return true;
}

bool parseFrameRange(const std::string& text, long long& start, long long& end, std::string& error) {
    std::string first;
    std::string second;
    if (!splitAt(text, ':', first, second)) {
        error = "expected START:END";
        return false;
    }
    long long a = 0;
    long long b = 0;
    if (!parseWholeNumber(first, a) || !parseWholeNumber(second, b)) {
        error = "START and END must be whole numbers of frames";
        return false;
    }
    if (b <= a) {
        error = "END must be greater than START";
        return false;
    }
    start = a;
    end = b;
    return true;
}

bool parseNumberRange(const std::string& text, double& low, double& high, std::string& error) {
    std::string first;
    std::string second;
    if (!splitAt(text, ':', first, second)) {
        error = "expected LOW:HIGH";
        return false;
    }
    double a = 0.0;
    double b = 0.0;
    if (!parseNumber(first, a) || !parseNumber(second, b)) {
        error = "LOW and HIGH must be numbers";
        return false;
    }
    if (b <= a) {
        error = "HIGH must be greater than LOW";
        return false;
    }
    low = a;
    high = b;
    return true;
}

bool parseSize(const std::string& text, long long& width, long long& height, std::string& error) {
    std::string first;
    std::string second;
    if (!splitAt(text, 'x', first, second)) {
        error = "expected WIDTHxHEIGHT";
        return false;
    }
    long long w = 0;
    long long h = 0;
    if (!parseWholeNumber(first, w) || !parseWholeNumber(second, h)) {
        error = "WIDTH and HEIGHT must be whole numbers";
        return false;
    }
    width = w;
    height = h;
    return true;
}

}  // namespace wowfix::hostsim
