// Throughput of the hum tracker on 44.1 kHz mono input (the detection task
// mixes a stereo file to this one stream), in blocks of 8192 samples as the
// task hands them to the library, with the settings the plug-in gives a new
// library instance. The counter x_realtime is seconds of audio per second of
// one core.
//
// Baseline in the same run: the preprocessing alone (anti-alias low-pass,
// decimation, band-pass), which every sample passes through.
//
// Run: build with -DWOWFIX_BUILD_BENCH=ON, then
//   taskset -c 1 build/bench/hum/bench_hum --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "extlib/hum/HumFrontEnd.h"
#include "extlib/hum/HumTracker.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr double kRate = 44100.0;
constexpr int kBlock = 8192;
constexpr int kSeconds = 20;
constexpr double kPi = 3.14159265358979323846;

// 50 Hz hum wowing by 0.3 % at 0.5 Hz under a little noise.
std::vector<float> humWithWow() {
    std::vector<float> x(static_cast<size_t>(kRate * kSeconds));
    double phase = 0.0;
    uint32_t noise = 1;
    for (size_t i = 0; i < x.size(); ++i) {
        noise = noise * 1664525u + 1013904223u;
        x[i] = 0.01f * static_cast<float>(std::sin(phase)) +
               1e-3f * (static_cast<float>(noise >> 8) / 8388608.0f - 1.0f);
        const double ratio = 1.0 + 0.003 * std::sin(2.0 * kPi * 0.5 * static_cast<double>(i) / kRate);
        phase = std::fmod(phase + 2.0 * kPi * 50.0 * ratio / kRate, 2.0 * kPi);
    }
    return x;
}

void setPluginDefaults(wowfix::hum::HumParameters& p) {
    p.setValue(wowfix::hum::kDecimatedRate, 0.75f);
    p.setValue(wowfix::hum::kBandLower, 0.225f);
    p.setValue(wowfix::hum::kBandUpper, 0.275f);
    p.setValue(wowfix::hum::kNominalFrequency, 0.257f);
}

void setRealtimeCounter(benchmark::State& state, size_t samples) {
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * samples));
    state.counters["x_realtime"] =
        benchmark::Counter(static_cast<double>(state.iterations() * samples) / kRate, benchmark::Counter::kIsRate);
}

void BM_HumTracker(benchmark::State& state) {
    static const std::vector<float> input = humWithWow();
    std::vector<float> ratios(kBlock);
    for (auto _ : state) {
        wowfix::hum::HumTracker tracker(kRate);
        setPluginDefaults(tracker.parameters());
        for (size_t i = 0; i + kBlock <= input.size(); i += kBlock) tracker.process(input.data() + i, kBlock, ratios.data());
        benchmark::DoNotOptimize(ratios.data());
    }
    setRealtimeCounter(state, input.size() / kBlock * kBlock);
}
BENCHMARK(BM_HumTracker)->Unit(benchmark::kMillisecond);

void BM_PreprocessingOnly(benchmark::State& state) {
    static const std::vector<float> input = humWithWow();
    wowfix::hum::HumParameters parameters;
    setPluginDefaults(parameters);
    for (auto _ : state) {
        wowfix::hum::HumFrontEnd front(parameters, kRate);
        double sum = 0.0;
        double y = 0.0;
        for (float x : input)
            if (front.push(x, y)) sum += y;
        benchmark::DoNotOptimize(sum);
    }
    setRealtimeCounter(state, input.size());
}
BENCHMARK(BM_PreprocessingOnly)->Unit(benchmark::kMillisecond);

}  // namespace
