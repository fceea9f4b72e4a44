#pragma once
// The command line of wowfix-gen, read into GeneratorSettings.

#include <string>
#include <vector>

#include "tools/gen/GenerateFiles.h"
#include "tools/gen/GeneratorSettings.h"

namespace wowfix::gen {

struct GenInvocation {
    bool help = false;
    GeneratorSettings settings;
    OutputTargets targets;
};

// `args` without the program name. False with `error` set (one line) when
// the command line is malformed; the settings' values are checked later by
// DamagedRecording.
bool parseGenArguments(const std::vector<std::string>& args, GenInvocation& invocation, std::string& error);

// Strict readers: the whole text must be the value.
bool parseDecimal(const std::string& text, double& value);
bool parseWhole(const std::string& text, long long& value);
// "A@B" with two numbers.
bool parseNumberPair(const std::string& text, double& first, double& second);
// The programme syntax of --programme.
bool parseProgramme(const std::string& text, ProgrammeSettings& programme, std::string& error);

std::string genUsage();

}  // namespace wowfix::gen
