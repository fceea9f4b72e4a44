#pragma once
// Temporary folders, audio files made and read back with libsndfile, a sink
// that keeps what the host writes, and running the wowfix-host command.

#include "hostsim/AudioSink.h"

#include <functional>
#include <string>
#include <vector>

namespace hostsim_test {

// A full turn in radians, for the tones of the test signals.
constexpr double kTwoPi = 6.283185307179586;

// A fresh folder under the system's temporary directory, removed with all its
// contents at the end of the scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // Names of the entries in the folder, sorted.
    std::vector<std::string> entries() const;

private:
    std::string path_;
};

struct Audio {
    int channels = 0;
    int sampleRate = 0;
    long long frames = 0;
    int format = 0;
    std::vector<float> samples;  // interleaved
    float at(long long frame, int channel) const {
        return samples[static_cast<std::size_t>(frame * channels + channel)];
    }
};

// Writes frames x channels samples of value(frame, channel) (float WAV unless
// `format` says otherwise).
void writeAudio(const std::string& path, int channels, int sampleRate, long long frames,
                const std::function<float(long long, int)>& value, int format = 0);
// Reads a whole file; channels 0 when it cannot be opened.
Audio readAudio(const std::string& path);

void writeText(const std::string& path, const std::string& text);
std::string readBytes(const std::string& path);
bool exists(const std::string& path);

// A .pvc curve of one value over `frames` frames.
void writeFlatCurve(const std::string& path, long long frames, double value);

// The frames a host wrote, kept in memory.
class MemorySink : public wowfix::hostsim::AudioSink {
public:
    explicit MemorySink(int channels) : channels_(channels), data_(static_cast<std::size_t>(channels)) {}
    int channels() const override { return channels_; }
    bool write(const float* const* channel, int count) override;
    bool finish() override {
        finished_ = true;
        return true;
    }
    std::int64_t framesWritten() const override { return static_cast<std::int64_t>(data_[0].size()); }
    const std::string& error() const override { return error_; }
    const std::vector<float>& channel(int c) const { return data_[static_cast<std::size_t>(c)]; }
    bool finished() const { return finished_; }

private:
    int channels_;
    std::vector<std::vector<float>> data_;
    bool finished_ = false;
    std::string error_;
};

// Hands everything on to a sink the test keeps (the host destroys its sinks
// when a task ends).
class ForwardingSink : public wowfix::hostsim::AudioSink {
public:
    explicit ForwardingSink(MemorySink& target) : target_(target) {}
    int channels() const override { return target_.channels(); }
    bool write(const float* const* channel, int count) override { return target_.write(channel, count); }
    bool finish() override { return target_.finish(); }
    std::int64_t framesWritten() const override { return target_.framesWritten(); }
    const std::string& error() const override { return target_.error(); }

private:
    MemorySink& target_;
};

struct CommandResult {
    int status = -1;
    std::string output;  // stdout and stderr together
};

// Runs the wowfix-host executable with `args` (and `environment`
// assignments such as "NAME=value" before it).
CommandResult runHostCommand(const std::vector<std::string>& args, const std::vector<std::string>& environment = {});

// The real plug-in named by WOWFIX_PLUGIN; empty when it is not set.
std::string realPlugin();

}  // namespace hostsim_test
