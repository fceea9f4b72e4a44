#pragma once
// wowfix-host measure: the wow-and-flutter meter on a file,
//
//     wowfix-host measure INPUT [--tone HZ|auto] [--plot OUT.png]
//
// which reads the speed variation from a steady test tone (3150 Hz unless
// --tone says otherwise) and prints the meter's report.

#include <ostream>
#include <string>
#include <vector>

namespace wowfix::hostsim {

// `args`: the words after "measure". The report goes to `out`.
int runMeasure(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace wowfix::hostsim
