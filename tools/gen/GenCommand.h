#pragma once
// wowfix-gen as a function, so that tests can run it in-process.

#include <ostream>
#include <string>
#include <vector>

namespace wowfix::gen {

// `args` without the program name. Answers the exit status: 0 on success,
// 1 on any failure (one line on `err`), 0 for --help (usage on `out`).
int runGenCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace wowfix::gen
