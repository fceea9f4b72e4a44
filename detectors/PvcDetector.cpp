#include "detectors/PvcDetector.h"

#include "detectors/BoundedText.h"

#include <cctype>
#include <cmath>

namespace wowfix {

namespace {

bool isSeparator(char c)
{
    return c == ' ' || c == '-' || c == '_';
}

// Compares two names letter by letter, ignoring case and separators.
bool sameName(const char* a, const char* b)
{
    for (;;) {
        while (isSeparator(*a))
            ++a;
        while (isSeparator(*b))
            ++b;
        if (*a == '\0' || *b == '\0')
            return *a == *b;
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
            return false;
        ++a;
        ++b;
    }
}

}  // namespace

bool PvcDetector::getParameterName(int index, char* buffer) const
{
    if (isParameterIndex(index))
        copyBoundedText(parameterName(index), buffer);
    return true;
}

bool PvcDetector::getParameterLabel(int index, char* buffer) const
{
    if (isParameterIndex(index))
        copyBoundedText(parameterLabel(index), buffer);
    return true;
}

int PvcDetector::findParameter(const char* name) const
{
    if (name == nullptr)
        return -1;
    for (int i = 0; i < getNumParams(); ++i) {
        if (sameName(name, parameterName(i)))
            return i;
    }
    return -1;
}

bool PvcDetector::normalisedValue(float value, float& stored)
{
    if (std::isnan(value))
        return false;
    stored = value < 0.0f ? 0.0f : (value > 1.0f ? 1.0f : value);
    return true;
}

}  // namespace wowfix
