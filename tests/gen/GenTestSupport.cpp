#include "GenTestSupport.h"

#include <sndfile.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

#include <gtest/gtest.h>

#include "tools/gen/GenCommand.h"

namespace wowfix::gentest {

ScratchFolder::ScratchFolder() {
    std::random_device seed;
    std::ostringstream name;
    name << "wowfix-gen-test-" << std::hex << seed() << seed();
    path_ = std::filesystem::temp_directory_path() / name.str();
    std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::vector<std::string> ScratchFolder::names() const {
    std::vector<std::string> list;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) list.push_back(entry.path().filename());
    return list;
}

Audio readAudio(const std::string& path) {
    SF_INFO info;
    std::memset(&info, 0, sizeof(info));
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    Audio audio;
    if (file == nullptr) {
        ADD_FAILURE() << "cannot read " << path;
        return audio;
    }
    audio.sampleRate = info.samplerate;
    audio.channels = info.channels;
    audio.format = info.format;
    audio.samples.resize(static_cast<std::size_t>(info.frames * info.channels));
    sf_readf_float(file, audio.samples.data(), info.frames);
    sf_close(file);
    return audio;
}

void writeAudio(const std::string& path, const Audio& audio) {
    SF_INFO info;
    std::memset(&info, 0, sizeof(info));
    info.samplerate = audio.sampleRate;
    info.channels = audio.channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr);
    sf_writef_float(file, audio.samples.data(), audio.frames());
    sf_close(file);
}

std::vector<PvcPoint> readPvc(const std::string& path) {
    std::ifstream in(path);
    std::vector<PvcPoint> points;
    PvcPoint p;
    while (in >> p.position >> p.value) points.push_back(p);
    return points;
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

int runGen(const std::vector<std::string>& args, std::string* errors) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = gen::runGenCommand(args, out, err);
    if (errors != nullptr) *errors = err.str();
    return status;
}

std::vector<double> integratedWarpedTime(const gen::PeriodicDamage& wow, const gen::PeriodicDamage& flutter,
                                         double fs, std::int64_t frames) {
    auto speed = [&](long double t) {
        return 1.0L + wow.depthPercent / 100.0L * std::sin(2.0L * M_PI * wow.rateHz * t) +
               flutter.depthPercent / 100.0L * std::sin(2.0L * M_PI * flutter.rateHz * t);
    };
    std::vector<double> tau(static_cast<std::size_t>(frames + 1));
    long double sum = 0.0L;
    for (std::int64_t n = 0; n <= frames; ++n) {
        tau[static_cast<std::size_t>(n)] = static_cast<double>(sum);
        const long double t0 = n / static_cast<long double>(fs);
        const long double h = 1.0L / fs;
        sum += h / 6.0L * (speed(t0) + 4.0L * speed(t0 + 0.5L * h) + speed(t0 + h));
    }
    return tau;
}

}  // namespace wowfix::gentest
