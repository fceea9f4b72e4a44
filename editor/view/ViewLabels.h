#pragma once

#include <string>

namespace wowfix {

// The time of frame `sample` at `sampleRate` as minutes and seconds cut to
// whole milliseconds: 75 s is "1:15.000", 3.5 s "0:03.500". A rate that is
// not positive, or a time that is not finite, reads "0:00.000".
std::string timeLabel(double sample, double sampleRate);
// A frequency label: whole hertz.
std::string frequencyLabel(double hertz);

}  // namespace wowfix
