#pragma once
// What a loaded VST 2 plug-in says about itself, gathered through its record
// and dispatcher, and its printed form.

#include "hostsim/OfflineHost.h"

#include <ostream>
#include <string>
#include <vector>

namespace wowfix::hostsim {

struct ParameterInfo {
    std::string name;
    std::string label;
    std::string display;
};

struct CanDoAnswer {
    std::string query;
    VstIntPtr answer = 0;  // 1 yes, -1 no, 0 does not say
};

struct PluginInfo {
    std::string path;
    std::string entry;
    VstInt32 uniqueId = 0;
    VstInt32 version = 0;
    std::string name;
    std::string vendor;
    std::string product;
    VstIntPtr vendorVersion = 0;
    VstIntPtr vstVersion = 0;
    VstIntPtr category = 0;
    VstInt32 numInputs = 0;
    VstInt32 numOutputs = 0;
    VstInt32 flags = 0;
    VstInt32 initialDelay = 0;
    std::vector<ParameterInfo> parameters;
    std::vector<std::string> programs;
    std::vector<CanDoAnswer> canDo;
};

// The can-do queries asked of every plug-in.
const std::vector<std::string>& canDoQueries();

// Asks the plug-in loaded in `host`. Counts from the record are bounded so
// that a plug-in claiming absurd numbers cannot make this loop for long.
PluginInfo gatherPluginInfo(OfflineHost& host);

// "0x4D4F4A45 'MOJE'" (the characters only when all four are printable).
std::string formatUniqueId(VstInt32 id);
// The names of the set effect flags, and the hex value of unknown bits.
std::string describeFlags(VstInt32 flags);
std::string categoryName(VstIntPtr category);

void printPluginInfo(const PluginInfo& info, std::ostream& out);

}  // namespace wowfix::hostsim
