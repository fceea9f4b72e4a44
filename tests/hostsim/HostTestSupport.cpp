#include "HostTestSupport.h"

#include <dirent.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace hostsim_test {

namespace {

void removeTree(const std::string& path) {
    DIR* dir = opendir(path.c_str());
    if (dir != nullptr) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            const std::string child = path + "/" + name;
            struct stat info;
            if (lstat(child.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
                removeTree(child);
            else
                unlink(child.c_str());
        }
        closedir(dir);
    }
    rmdir(path.c_str());
}

std::string shellQuoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

}  // namespace

TempDir::TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/hostsim-test-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
    path_ = buffer.data();
}

TempDir::~TempDir() { removeTree(path_); }

std::vector<std::string> TempDir::entries() const {
    std::vector<std::string> names;
    DIR* dir = opendir(path_.c_str());
    if (dir == nullptr) return names;
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

void writeAudio(const std::string& path, int channels, int sampleRate, long long frames,
                const std::function<float(long long, int)>& value, int format) {
    SF_INFO info;
    std::memset(&info, 0, sizeof(info));
    info.channels = channels;
    info.samplerate = sampleRate;
    info.format = format != 0 ? format : (SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) throw std::runtime_error("cannot write " + path + ": " + sf_strerror(nullptr));
    std::vector<float> block;
    for (long long start = 0; start < frames; start += 4096) {
        const long long count = std::min<long long>(4096, frames - start);
        block.assign(static_cast<std::size_t>(count * channels), 0.0f);
        for (long long i = 0; i < count; ++i)
            for (int c = 0; c < channels; ++c) block[static_cast<std::size_t>(i * channels + c)] = value(start + i, c);
        sf_writef_float(file, block.data(), count);
    }
    sf_close(file);
}

Audio readAudio(const std::string& path) {
    Audio audio;
    SF_INFO info;
    std::memset(&info, 0, sizeof(info));
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) return audio;
    audio.channels = info.channels;
    audio.sampleRate = info.samplerate;
    audio.frames = info.frames;
    audio.format = info.format;
    audio.samples.resize(static_cast<std::size_t>(info.frames * info.channels));
    sf_readf_float(file, audio.samples.data(), info.frames);
    sf_close(file);
    return audio;
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

void writeFlatCurve(const std::string& path, long long frames, double value) {
    char text[128];
    std::snprintf(text, sizeof(text), "0 %f\n%lld %f\n", value, frames - 1, value);
    writeText(path, text);
}

bool MemorySink::write(const float* const* channel, int count) {
    if (finished_) return false;
    for (int c = 0; c < channels_; ++c)
        data_[static_cast<std::size_t>(c)].insert(data_[static_cast<std::size_t>(c)].end(), channel[c],
                                                  channel[c] + count);
    return true;
}

CommandResult runHostCommand(const std::vector<std::string>& args, const std::vector<std::string>& environment) {
    std::string command;
    for (const std::string& assignment : environment) command += assignment + " ";
    command += shellQuoted(WOWFIX_HOST_EXECUTABLE);
    for (const std::string& arg : args) command += " " + shellQuoted(arg);
    command += " 2>&1";
    CommandResult result;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0) result.output.append(buffer, got);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string realPlugin() {
    const char* path = std::getenv("WOWFIX_PLUGIN");
    return path != nullptr ? std::string(path) : std::string();
}

}  // namespace hostsim_test
