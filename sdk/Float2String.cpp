#include "sdk/Float2String.h"

#include <cmath>
#include <cstdint>

#include "sdk/StringCopy.h"

namespace wowfix {

namespace {

constexpr int kDisplayWidth = 8;

int digitCount(uint64_t n) {
    int digits = 1;
    while (n >= 10) {
        n /= 10;
        ++digits;
    }
    return digits;
}

}  // namespace

void float2string(float value, char* text, VstInt32 maxLength) {
    if (text == nullptr || maxLength < 0) return;
    const std::size_t capacity = static_cast<std::size_t>(maxLength) + 1;
    double v = static_cast<double>(value);
    if (std::isnan(v)) {
        copyText(text, "NaN", capacity);
        return;
    }
    const bool negative = v < 0.0;
    if (negative) v = -v;
    const int signWidth = negative ? 1 : 0;
    // Integer digits that fit beside the sign and the point.
    const double limit = std::pow(10.0, kDisplayWidth - 1 - signWidth);
    if (!(v < limit)) {
        copyText(text, "Huge!", capacity);
        return;
    }

    int decimals = kDisplayWidth - 1 - signWidth - digitCount(static_cast<uint64_t>(v));
    uint64_t scaled = 0;
    uint64_t integerPart = 0;
    // Rounding may carry into one more integer digit (9.9999999 -> 10.000000):
    // then one decimal less is shown.
    for (;;) {
        const double power = std::pow(10.0, decimals);
        scaled = static_cast<uint64_t>(std::llround(v * power));
        integerPart = scaled / static_cast<uint64_t>(power);
        if (signWidth + digitCount(integerPart) + 1 + decimals <= kDisplayWidth || decimals == 0) break;
        --decimals;
    }
    if (signWidth + digitCount(integerPart) + 1 > kDisplayWidth) {
        copyText(text, "Huge!", capacity);
        return;
    }

    char buffer[kDisplayWidth + 2];
    int at = 0;
    if (negative && scaled != 0) buffer[at++] = '-';
    char digits[24];
    int n = 0;
    uint64_t rest = integerPart;
    do {
        digits[n++] = static_cast<char>('0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    while (n > 0) buffer[at++] = digits[--n];
    buffer[at++] = '.';
    uint64_t fraction = scaled - integerPart * static_cast<uint64_t>(std::pow(10.0, decimals));
    for (int d = decimals - 1; d >= 0; --d) {
        buffer[at + d] = static_cast<char>('0' + fraction % 10);
        fraction /= 10;
    }
    at += decimals;
    buffer[at] = '\0';
    copyText(text, buffer, capacity);
}

}  // namespace wowfix
