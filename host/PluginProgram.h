#pragma once

#include <string>

namespace wowfix {

// One program of the plug-in. Its task mode is the plug-in's one parameter.
struct PluginProgram {
    static constexpr int kNameCapacity = 24;  // the host's limit, terminator included

    float taskMode = 1.0f;
    char name[kNameCapacity] = "Init";
    std::string path;  // the curve path when the parameter was last set
};

}  // namespace wowfix
