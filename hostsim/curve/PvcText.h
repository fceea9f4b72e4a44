#pragma once
// The .pvc text file: one "position value" line per point, the position a
// whole number of frames within the selection, the value with six decimals.
// Written with CR LF and a point as decimal separator whatever the locale;
// read with LF or CR LF and with a point or a comma.
//
// Unlike the plug-in's own loader, which takes whatever it finds, this reader
// is strict, because conditioned curves are computed from the points: a line
// that is not "integer number", a position that does not ascend, or a value
// outside (0, 2] is refused with "FILE:LINE: reason". Empty lines are skipped.

#include <istream>
#include <string>

#include "hostsim/curve/SpeedCurve.h"

namespace wowfix::curve {

// `name` is the file name used in messages.
bool parsePvc(std::istream& in, const std::string& name, SpeedCurve& curve, std::string& error);
bool readPvcFile(const std::string& path, SpeedCurve& curve, std::string& error);

// The text of the file.
std::string formatPvc(const SpeedCurve& curve);
// Writes beside `path` and renames onto it when complete.
bool writePvcFile(const std::string& path, const SpeedCurve& curve, std::string& error);

}  // namespace wowfix::curve
