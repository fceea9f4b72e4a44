#pragma once
#include "sdk/VstTypes.h"

namespace wowfix {

// Formats a parameter value for the host's display: eight characters made of
// the sign, the integer digits, the decimal point and as many decimals as fit,
// e.g. 8.0 -> "8.000000", -12.5 -> "-12.5000". Values too large for eight
// characters show "Huge!". Independent of the process locale. Writes at most
// maxLength characters plus the terminator.
void float2string(float value, char* text, VstInt32 maxLength);

}  // namespace wowfix
