#pragma once
// The meter's command, for wowfix-host's "measure" and for wowfix-meter:
//
//     measure INPUT [--tone HZ|auto] [--plot OUT.png]
//
// prints the tone found and the wow-and-flutter figures of INPUT, and with
// --plot writes the deviation over time as a PNG.

#include <ostream>
#include <string>
#include <vector>

#include "tools/meter/WowFlutterMeter.h"

namespace wowfix::meter {

// `args` are the words after the command's name. Answers the exit status:
// 0 on success (and for --help), 1 on any failure with one line on `err`.
int runMeasureCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// The same with argv[0] the command's own name (which is skipped), printing
// to standard output and error: main (argc − 1, argv + 1) of a host whose
// argv[1] is "measure" fits it directly.
int runMeasureCommand(int argc, char** argv);

// The report that runMeasureCommand prints.
std::string measurementReport(const std::string& path, const Measurement& measurement);
std::string measureUsage();

}  // namespace wowfix::meter
