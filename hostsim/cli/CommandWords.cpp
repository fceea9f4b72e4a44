#include "hostsim/cli/CommandWords.h"

namespace wowfix::hostsim {

bool readCommandWords(const std::vector<std::string>& args, const std::vector<ValuedWord>& valued,
                      const std::vector<FlagWord>& flags, std::size_t positionalCount, const std::string& usage,
                      std::vector<std::string>& positional, std::string& error) {
    positional.clear();
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() <= 2 || a.compare(0, 2, "--") != 0) {
            positional.push_back(a);
            continue;
        }
        bool known = false;
        for (const ValuedWord& option : valued) {
            if (a != option.name) continue;
            if (i + 1 >= args.size()) {
                error = "option " + a + " needs a value";
                return false;
            }
            *option.value = args[++i];
            known = true;
            break;
        }
        for (const FlagWord& flag : flags) {
            if (known || a != flag.name) continue;
            *flag.set = true;
            known = true;
        }
        if (!known) {
            error = "unknown option '" + a + "'";
            return false;
        }
    }
    if (positional.size() != positionalCount) {
        error = usage;
        return false;
    }
    return true;
}

}  // namespace wowfix::hostsim
