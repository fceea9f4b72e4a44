#pragma once
// Helpers of the generator's tests: a scratch folder, reading back what the
// generator wrote, and the damage model computed a second, independent way.

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "tools/gen/GeneratorSettings.h"

namespace wowfix::gentest {

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    // Names of the files in the folder.
    std::vector<std::string> names() const;

private:
    std::filesystem::path path_;
};

struct Audio {
    int sampleRate = 0;
    int channels = 0;
    int format = 0;
    std::vector<float> samples;  // interleaved
    std::int64_t frames() const { return channels ? static_cast<std::int64_t>(samples.size()) / channels : 0; }
    float at(std::int64_t frame, int channel) const { return samples[static_cast<std::size_t>(frame * channels + channel)]; }
};

Audio readAudio(const std::string& path);
void writeAudio(const std::string& path, const Audio& audio);

struct PvcPoint {
    std::int64_t position;
    double value;
};
std::vector<PvcPoint> readPvc(const std::string& path);
std::string readBytes(const std::string& path);

// Runs wowfix-gen's command in-process; answers its exit status.
int runGen(const std::vector<std::string>& args, std::string* errors = nullptr);

// τ(n) for n = 0 … frames, integrating s(t) = 1 + W·sin(2π·f_w·t) +
// F·sin(2π·f_f·t) sample by sample with Simpson's rule (exact to well below
// 1e-12 s here), without the generator's closed forms.
std::vector<double> integratedWarpedTime(const gen::PeriodicDamage& wow, const gen::PeriodicDamage& flutter,
                                         double sampleRate, std::int64_t frames);

}  // namespace wowfix::gentest
