#pragma once

#include <string>

namespace wowfix {

class PvcDetector;

// The texts of the parameter panels, each formatted into a buffer of its
// own size: a value that does not fit (a huge or not finite number) reads
// "-" rather than running past it.
std::string parameterValueText(const char* format, double value);
// "name\n[label]" from the detector's parameter `index`: name and label
// copied into buffers of 100 and 20 bytes of which the first 98 and 18 are
// usable.
std::string detectorCaption(const PvcDetector& detector, int index);
// The same from a name and label given as texts, cut to the same lengths.
std::string parameterCaption(const std::string& name, const std::string& label);

// The parameter bars run 0 ... kBarMaximum, top = 1.0. Their range is one
// page longer so that the bottom (value 0) can be reached.
constexpr int kBarMaximum = 1000;
constexpr int kBarPage = 2;
float barValue(int position);
int barPosition(float value);

}  // namespace wowfix
