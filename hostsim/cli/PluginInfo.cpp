#include "hostsim/cli/PluginInfo.h"

#include <cstdio>
#include <cstring>

namespace wowfix::hostsim {

namespace {

constexpr int kMaxListed = 1024;
// Text buffers far beyond the published limits: a plug-in that writes past
// them writes into room that is there.
constexpr std::size_t kTextBuffer = 512;

std::string askText(OfflineHost& host, VstInt32 opcode, VstInt32 index = 0) {
    char text[kTextBuffer] = {};
    host.dispatch(opcode, index, 0, text);
    text[kTextBuffer - 1] = '\0';
    return std::string(text, strnlen(text, kTextBuffer));
}

std::string programName(OfflineHost& host, int index) {
    char text[kTextBuffer] = {};
    if (host.dispatch(effGetProgramNameIndexed, index, -1, text) != 0) {
        text[kTextBuffer - 1] = '\0';
        return std::string(text, strnlen(text, kTextBuffer));
    }
    // Plug-ins without the indexed query: switch to the program and ask.
    host.dispatch(effSetProgram, 0, index);
    return askText(host, effGetProgramName);
}

}  // namespace

const std::vector<std::string>& canDoQueries() {
    static const std::vector<std::string> queries = {
        "offline",          "noRealTime",         "receiveVstEvents",   "receiveVstMidiEvent",
        "receiveVstTimeInfo", "sendVstEvents",    "sendVstMidiEvent",   "plugAsChannelInsert",
        "plugAsSend",       "mixDryWet",          "1in1out",            "1in2out",
        "2in1out",          "2in2out",            "bypass",             "midiProgramNames",
        "conformsToWindowRules", "metapass",      "multipass",          "shellCategory",
    };
    return queries;
}

PluginInfo gatherPluginInfo(OfflineHost& host) {
    PluginInfo info;
    const AEffect* effect = host.effect();
    if (effect == nullptr) return info;
    info.path = host.plugin()->path();
    info.entry = host.plugin()->entryName();
    info.uniqueId = effect->uniqueID;
    info.version = effect->version;
    info.numInputs = effect->numInputs;
    info.numOutputs = effect->numOutputs;
    info.flags = effect->flags;
    info.initialDelay = effect->initialDelay;
    info.name = askText(host, effGetEffectName);
    info.vendor = askText(host, effGetVendorString);
    info.product = askText(host, effGetProductString);
    info.vendorVersion = host.dispatch(effGetVendorVersion);
    info.vstVersion = host.dispatch(effGetVstVersion);
    info.category = host.dispatch(effGetPlugCategory);

    const int parameters = effect->numParams < 0 ? 0 : (effect->numParams > kMaxListed ? kMaxListed : effect->numParams);
    for (int i = 0; i < parameters; ++i)
        info.parameters.push_back({askText(host, effGetParamName, i), askText(host, effGetParamLabel, i),
                                   askText(host, effGetParamDisplay, i)});

    const int programs =
        effect->numPrograms < 0 ? 0 : (effect->numPrograms > kMaxListed ? kMaxListed : effect->numPrograms);
    const VstIntPtr current = host.dispatch(effGetProgram);
    for (int i = 0; i < programs; ++i) info.programs.push_back(programName(host, i));
    if (programs > 0) host.dispatch(effSetProgram, 0, current);

    for (const std::string& query : canDoQueries()) {
        std::vector<char> text(query.begin(), query.end());
        text.push_back('\0');
        info.canDo.push_back({query, host.dispatch(effCanDo, 0, 0, text.data())});
    }
    return info;
}

std::string formatUniqueId(VstInt32 id) {
    const auto value = static_cast<std::uint32_t>(id);
    char text[32];
    std::snprintf(text, sizeof(text), "0x%08X", value);
    std::string out = text;
    char chars[5] = {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
                     static_cast<char>(value), '\0'};
    bool printable = true;
    for (int i = 0; i < 4; ++i) printable = printable && chars[i] >= 0x20 && chars[i] < 0x7F;
    if (printable) out += std::string(" '") + chars + "'";
    return out;
}

std::string describeFlags(VstInt32 flags) {
    static const struct {
        VstInt32 bit;
        const char* name;
    } known[] = {
        {effFlagsHasEditor, "hasEditor"},         {effFlagsCanReplacing, "canReplacing"},
        {effFlagsProgramChunks, "programChunks"}, {effFlagsIsSynth, "isSynth"},
        {effFlagsNoSoundInStop, "noSoundInStop"}, {effFlagsCanDoubleReplacing, "canDoubleReplacing"},
    };
    std::string out;
    VstInt32 rest = flags;
    for (const auto& flag : known) {
        if ((flags & flag.bit) == 0) continue;
        out += out.empty() ? "" : " ";
        out += flag.name;
        rest &= ~flag.bit;
    }
    if (rest != 0) {
        char text[32];
        std::snprintf(text, sizeof(text), "0x%X", static_cast<unsigned>(rest));
        out += out.empty() ? "" : " ";
        out += std::string("other:") + text;
    }
    return out.empty() ? "none" : out;
}

std::string categoryName(VstIntPtr category) {
    static const char* const names[] = {"unknown",  "effect",      "synth",   "analysis",
                                        "mastering", "spatializer", "room fx", "surround fx",
                                        "restoration", "offline process", "shell", "generator"};
    if (category >= 0 && category < static_cast<VstIntPtr>(sizeof(names) / sizeof(names[0])))
        return names[category];
    return "category " + std::to_string(category);
}

void printPluginInfo(const PluginInfo& info, std::ostream& out) {
    out << "plug-in:     " << info.path << " (entry " << info.entry << ")\n";
    out << "unique id:   " << formatUniqueId(info.uniqueId) << "\n";
    out << "name:        " << info.name << "\n";
    out << "vendor:      " << info.vendor << "\n";
    out << "product:     " << info.product << "\n";
    out << "version:     " << info.version << " (vendor version " << info.vendorVersion << ", VST "
        << info.vstVersion << ")\n";
    out << "category:    " << categoryName(info.category) << "\n";
    out << "inputs:      " << info.numInputs << "\n";
    out << "outputs:     " << info.numOutputs << "\n";
    out << "flags:       " << describeFlags(info.flags) << "\n";
    out << "delay:       " << info.initialDelay << " frames\n";
    out << "parameters:  " << info.parameters.size() << "\n";
    for (std::size_t i = 0; i < info.parameters.size(); ++i) {
        const ParameterInfo& p = info.parameters[i];
        out << "  " << i << ": " << p.name << " = " << p.display;
        if (!p.label.empty()) out << " [" << p.label << "]";
        out << "\n";
    }
    out << "programs:    " << info.programs.size() << "\n";
    for (std::size_t i = 0; i < info.programs.size(); ++i) out << "  " << i << ": " << info.programs[i] << "\n";
    out << "can do:\n";
    for (const CanDoAnswer& answer : info.canDo)
        out << "  " << answer.query << ": "
            << (answer.answer > 0 ? "yes" : (answer.answer < 0 ? "no" : "does not say")) << "\n";
}

}  // namespace wowfix::hostsim
