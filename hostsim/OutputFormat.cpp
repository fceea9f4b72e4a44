#include "hostsim/OutputFormat.h"

#include <sndfile.h>

#include <cctype>
#include <cstring>

namespace wowfix::hostsim {

namespace {

std::string lowered(const std::string& text) {
    std::string out = text;
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

struct ContainerEntry {
    std::string name;
    int container;
};

std::vector<ContainerEntry> knownContainers() {
    std::vector<ContainerEntry> entries;
    int count = 0;
    sf_command(nullptr, SFC_GET_FORMAT_MAJOR_COUNT, &count, sizeof(count));
    for (int i = 0; i < count; ++i) {
        SF_FORMAT_INFO info;
        std::memset(&info, 0, sizeof(info));
        info.format = i;
        if (sf_command(nullptr, SFC_GET_FORMAT_MAJOR, &info, sizeof(info)) != 0 || info.extension == nullptr)
            continue;
        const int container = info.format & SF_FORMAT_TYPEMASK;
        // Raw headerless data cannot be read back without being told its
        // layout; the host does not offer it.
        if (container == SF_FORMAT_RAW) continue;
        bool seen = false;
        for (const ContainerEntry& entry : entries) seen = seen || entry.container == container;
        if (seen) continue;
        // Some containers share an extension (WAV, WAVEX and NIST all use
        // "wav"); the first listed keeps it, a later one goes by the first
        // word of its own name ("wavex"), else by its whole name squeezed.
        const std::string full = info.name != nullptr ? info.name : "";
        std::string squeezed;
        for (char c : full)
            if (std::isalnum(static_cast<unsigned char>(c))) squeezed += c;
        for (const std::string& name :
             {lowered(info.extension), lowered(full.substr(0, full.find(' '))), lowered(squeezed)}) {
            bool taken = name.empty();
            for (const ContainerEntry& entry : entries) taken = taken || entry.name == name;
            if (taken) continue;
            entries.push_back({name, container});
            break;
        }
    }
    return entries;
}

}  // namespace

int containerByName(const std::string& name) {
    const std::string key = lowered(name);
    if (key == "aif") return SF_FORMAT_AIFF;
    for (const ContainerEntry& entry : knownContainers())
        if (entry.name == key) return entry.container;
    return 0;
}

std::string containerName(int container) {
    for (const ContainerEntry& entry : knownContainers())
        if (entry.container == (container & SF_FORMAT_TYPEMASK)) return entry.name;
    return std::string();
}

std::vector<std::string> containerNames() {
    std::vector<std::string> names;
    for (const ContainerEntry& entry : knownContainers()) names.push_back(entry.name);
    return names;
}

int chooseEncoding(int container, int channels, int sampleRate) {
    static const int preferred[] = {SF_FORMAT_FLOAT, SF_FORMAT_PCM_24, SF_FORMAT_PCM_16, SF_FORMAT_VORBIS};
    for (int encoding : preferred) {
        SF_INFO info;
        std::memset(&info, 0, sizeof(info));
        info.format = (container & SF_FORMAT_TYPEMASK) | encoding;
        info.channels = channels;
        info.samplerate = sampleRate;
        if (sf_format_check(&info)) return encoding;
    }
    return 0;
}

std::string encodingName(int encoding) {
    switch (encoding & SF_FORMAT_SUBMASK) {
        case SF_FORMAT_FLOAT: return "32-bit float";
        case SF_FORMAT_PCM_24: return "24-bit integer";
        case SF_FORMAT_PCM_16: return "16-bit integer";
        case SF_FORMAT_VORBIS: return "Vorbis";
        default: return "unknown encoding";
    }
}

}  // namespace wowfix::hostsim
