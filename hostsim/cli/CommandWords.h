#pragma once
// The words after a command that reads its own options: "--name VALUE"
// options, flags, and the positional words in their order. A word of two
// characters or fewer ("-", "--") is positional; "--name=value" is not read
// as a value.

#include <cstddef>
#include <string>
#include <vector>

namespace wowfix::hostsim {

// An option that takes the next word as its value; the last one given counts.
struct ValuedWord {
    const char* name;  // with its "--"
    std::string* value;
};

// An option that takes no value.
struct FlagWord {
    const char* name;  // with its "--"
    bool* set;
};

// Reads `args` into the options and `positional`. False with `error` set for
// an unknown option or one without its value, and with `error` = `usage`
// when there are not `positionalCount` positional words.
bool readCommandWords(const std::vector<std::string>& args, const std::vector<ValuedWord>& valued,
                      const std::vector<FlagWord>& flags, std::size_t positionalCount, const std::string& usage,
                      std::vector<std::string>& positional, std::string& error);

}  // namespace wowfix::hostsim
