// Whole-file spectrogram acquisition (task mode 1) of 44.1 kHz stereo audio
// through the substitute host and the real plug-in.
//
// Counters:
//   x_realtime     seconds of audio analysed per second of wall time
//   rss_growth_MiB peak resident memory during the pass above the resident
//                  memory before it (the peak is reset before each pass), so
//                  it shows what the pass itself needs; it must not grow with
//                  the length of the audio
//   maxrss_MiB     the process's peak resident memory so far (getrusage)
//
// The signal is generated on demand (no file), or for the *_WavFile case
// written once to a temporary WAV that is removed afterwards.

#include "host/VendorCommands.h"
#include "hostsim/GeneratedSource.h"
#include "hostsim/OfflineHost.h"
#include "hostsim/SndfileSource.h"

#include <benchmark/benchmark.h>
#include <sndfile.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

using namespace wowfix::hostsim;

namespace {

constexpr double kSampleRate = 44100.0;

// A /proc/self/status field in KiB ("VmRSS", "VmHWM"); -1 when unreadable.
long statusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.compare(0, key.size(), key) == 0) return std::atol(line.c_str() + key.size());
    return -1;
}

// Resets the kernel's peak-RSS mark (VmHWM) to the current RSS.
bool resetPeakRss() {
    std::FILE* file = std::fopen("/proc/self/clear_refs", "w");
    if (file == nullptr) return false;
    const bool ok = std::fputs("5", file) >= 0;
    return std::fclose(file) == 0 && ok;
}

double maxRssMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

std::unique_ptr<OfflineHost> hostWithPlugin(benchmark::State& state) {
    auto host = std::make_unique<OfflineHost>(OfflineHost::kDefaultBlockSize);
    if (!host->loadPlugin(WOWFIX_PLUGIN_PATH)) {
        state.SkipWithError(host->error().c_str());
        return nullptr;
    }
    return host;
}

// One whole-file pass over `source`; answers false (and marks the state)
// when the plug-in did not complete it.
bool acquire(benchmark::State& state, OfflineHost& host) {
    if (host.notifyFiles(false) == 0 ||
        host.vendorCommand(wowfix::vendor::kRequestTask, nullptr, 1.0f) == 0 || !host.lastTask().succeeded) {
        state.SkipWithError(("acquisition failed: " + host.lastTask().error + " " + host.pluginMessage()).c_str());
        return false;
    }
    return true;
}

void report(benchmark::State& state, double audioSeconds, long growthKiB) {
    state.counters["x_realtime"] =
        benchmark::Counter(audioSeconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["rss_growth_MiB"] = static_cast<double>(growthKiB) / 1024.0;
    state.counters["maxrss_MiB"] = maxRssMiB();
    state.counters["audio_min"] = audioSeconds / 60.0;
}

void BM_AcquireGenerated(benchmark::State& state) {
    const double minutes = static_cast<double>(state.range(0));
    const auto frames = static_cast<std::int64_t>(minutes * 60.0 * kSampleRate);
    long growth = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<OfflineHost> host = hostWithPlugin(state);
        if (host == nullptr) return;
        host->openFile(std::make_unique<GeneratedSource>(frames, kSampleRate, std::vector<double>{440.0, 3000.0}, 0.4),
                       "generated.wav");
        const long before = statusKiB("VmRSS");
        resetPeakRss();
        state.ResumeTiming();
        if (!acquire(state, *host)) return;
        state.PauseTiming();
        growth = std::max(growth, statusKiB("VmHWM") - before);
        host.reset();
        state.ResumeTiming();
    }
    report(state, minutes * 60.0, growth);
}
BENCHMARK(BM_AcquireGenerated)->Arg(1)->Arg(10)->Arg(60)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Baseline: producing the same signal block by block with no plug-in, the
// part of the passes above that is the source's and not the analysis.
void BM_GenerateOnly(benchmark::State& state) {
    const double minutes = static_cast<double>(state.range(0));
    const auto frames = static_cast<std::int64_t>(minutes * 60.0 * kSampleRate);
    GeneratedSource signal(frames, kSampleRate, {440.0, 3000.0}, 0.4);
    std::vector<float> left(OfflineHost::kDefaultBlockSize);
    std::vector<float> right(OfflineHost::kDefaultBlockSize);
    float* channels[] = {left.data(), right.data()};
    for (auto _ : state) {
        for (std::int64_t start = 0; start < frames; start += OfflineHost::kDefaultBlockSize) {
            const int count = static_cast<int>(std::min<std::int64_t>(OfflineHost::kDefaultBlockSize, frames - start));
            signal.read(start, count, channels);
            benchmark::DoNotOptimize(left.data());
        }
    }
    report(state, minutes * 60.0, 0);
}
BENCHMARK(BM_GenerateOnly)->Arg(10)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same pass reading a 16-bit WAV through libsndfile.
void BM_AcquireWavFile(benchmark::State& state) {
    const double minutes = static_cast<double>(state.range(0));
    const auto frames = static_cast<std::int64_t>(minutes * 60.0 * kSampleRate);
    char folder[] = "/tmp/bench-acquisition-XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::string path = std::string(folder) + "/signal.wav";
    {
        SF_INFO info{};
        info.channels = 2;
        info.samplerate = static_cast<int>(kSampleRate);
        info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
        GeneratedSource signal(frames, kSampleRate, {440.0, 3000.0}, 0.4);
        std::vector<float> left(65536);
        std::vector<float> right(65536);
        std::vector<float> interleaved(2 * 65536);
        float* channels[] = {left.data(), right.data()};
        for (std::int64_t start = 0; file != nullptr && start < frames; start += 65536) {
            const int count = static_cast<int>(std::min<std::int64_t>(65536, frames - start));
            signal.read(start, count, channels);
            for (int i = 0; i < count; ++i) {
                interleaved[static_cast<std::size_t>(2 * i)] = left[static_cast<std::size_t>(i)];
                interleaved[static_cast<std::size_t>(2 * i + 1)] = right[static_cast<std::size_t>(i)];
            }
            sf_writef_float(file, interleaved.data(), count);
        }
        if (file != nullptr) sf_close(file);
    }
    long growth = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<OfflineHost> host = hostWithPlugin(state);
        std::string error;
        std::unique_ptr<SndfileSource> source = SndfileSource::open(path, error);
        if (host == nullptr || source == nullptr) {
            if (source == nullptr) state.SkipWithError(error.c_str());
            break;
        }
        host->openFile(std::move(source), "signal.wav");
        const long before = statusKiB("VmRSS");
        resetPeakRss();
        state.ResumeTiming();
        if (!acquire(state, *host)) break;
        state.PauseTiming();
        growth = std::max(growth, statusKiB("VmHWM") - before);
        host.reset();
        state.ResumeTiming();
    }
    std::remove(path.c_str());
    rmdir(folder);
    report(state, minutes * 60.0, growth);
}
BENCHMARK(BM_AcquireWavFile)->Arg(10)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
