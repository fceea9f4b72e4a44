#include "tools/soundio/SoundFormats.h"

#include <sndfile.h>

#include <cctype>
#include <cstring>

namespace wowfix::soundio {

namespace {

std::string lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

struct Container {
    std::string name;
    int code;
};

// Containers by their extension; where two share one (WAV, WAVEX and NIST
// all say "wav") the first keeps it and a later one goes by the first word of
// its libsndfile name, else by its whole name squeezed. Headerless raw data
// is left out: it cannot be read back without being told its layout.
std::vector<Container> knownContainers() {
    std::vector<Container> list;
    int count = 0;
    sf_command(nullptr, SFC_GET_FORMAT_MAJOR_COUNT, &count, sizeof(count));
    for (int i = 0; i < count; ++i) {
        SF_FORMAT_INFO info;
        std::memset(&info, 0, sizeof(info));
        info.format = i;
        if (sf_command(nullptr, SFC_GET_FORMAT_MAJOR, &info, sizeof(info)) != 0 || info.extension == nullptr)
            continue;
        const int code = info.format & SF_FORMAT_TYPEMASK;
        if (code == SF_FORMAT_RAW) continue;
        bool seen = false;
        for (const Container& c : list) seen = seen || c.code == code;
        if (seen) continue;
        const std::string full = info.name != nullptr ? info.name : "";
        std::string squeezed;
        for (char ch : full)
            if (std::isalnum(static_cast<unsigned char>(ch))) squeezed += ch;
        for (const std::string& name :
             {lowered(info.extension), lowered(full.substr(0, full.find(' '))), lowered(squeezed)}) {
            bool taken = name.empty();
            for (const Container& c : list) taken = taken || c.name == name;
            if (taken) continue;
            list.push_back({name, code});
            break;
        }
    }
    return list;
}

}  // namespace

int containerByName(const std::string& name) {
    const std::string key = lowered(name);
    if (key == "aif") return SF_FORMAT_AIFF;
    for (const Container& c : knownContainers())
        if (c.name == key) return c.code;
    return 0;
}

int containerForPath(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return 0;
    return containerByName(path.substr(dot + 1));
}

std::vector<std::string> containerNames() {
    std::vector<std::string> names;
    for (const Container& c : knownContainers()) names.push_back(c.name);
    return names;
}

std::string containerName(int container) {
    for (const Container& c : knownContainers())
        if (c.code == (container & SF_FORMAT_TYPEMASK)) return c.name;
    return std::string();
}

int losslessEncoding(int container, int channels, int sampleRate) {
    for (int encoding : {SF_FORMAT_FLOAT, SF_FORMAT_PCM_24, SF_FORMAT_PCM_16}) {
        SF_INFO info;
        std::memset(&info, 0, sizeof(info));
        info.samplerate = sampleRate;
        info.channels = channels;
        info.format = (container & SF_FORMAT_TYPEMASK) | encoding;
        if (sf_format_check(&info)) return encoding;
    }
    return 0;
}

int chooseEncoding(int container, int channels, int sampleRate) {
    if (const int lossless = losslessEncoding(container, channels, sampleRate)) return lossless;
    SF_INFO info;
    std::memset(&info, 0, sizeof(info));
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = (container & SF_FORMAT_TYPEMASK) | SF_FORMAT_VORBIS;
    return sf_format_check(&info) ? SF_FORMAT_VORBIS : 0;
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

}  // namespace wowfix::soundio
