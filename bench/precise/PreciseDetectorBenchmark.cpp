// Throughput of the precise detectors on 44.1 kHz mono input (a stereo file
// is mixed to this one stream first; the mixing is not counted), a whole run
// per iteration: search, process in blocks of 1024 samples, finish and read
// the curve every 256 samples as the task does. The counter x_realtime is
// seconds of audio per second of one core.
//
// Run: build with -DWOWFIX_BUILD_BENCH=ON, then
//   taskset -c 1 build/bench/precise/bench_precise --benchmark_repetitions=3 --benchmark_report_aggregates_only=true

#include "detectors/PrecisePartialTracker.h"
#include "detectors/PrecisePilotTracker.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

constexpr double kRate = 44100.0;
constexpr int kBlock = 1024;
constexpr int kSeconds = 20;

// A 19 kHz pilot and a chord of three harmonic notes, with 0.3 % wow.
std::vector<float> programme()
{
    std::vector<float> x(static_cast<size_t>(kRate * kSeconds));
    double pilot = 0.0, chord = 0.0;
    for (size_t i = 0; i < x.size(); ++i) {
        double v = 0.03 * std::sin(pilot);
        for (int h = 1; h <= 6; ++h)
            v += 0.05 / h * (std::sin(h * chord) + std::sin(h * 1.26 * chord) + std::sin(h * 1.5 * chord));
        x[i] = static_cast<float>(v);
        const double ratio = 1.0 + 0.003 * std::sin(2.0 * M_PI * 0.5 * i / kRate);
        pilot += 2.0 * M_PI * 19000.0 * ratio / kRate;
        chord += 2.0 * M_PI * 220.0 * ratio / kRate;
    }
    return x;
}

template <typename Detector>
void runWhole(benchmark::State& state)
{
    static const std::vector<float> input = programme();
    for (auto _ : state) {
        Detector detector(kRate);
        detector.startRun();
        detector.expectFrames(static_cast<long long>(input.size()));
        detector.offerSearchSamples(input.data(), static_cast<int>(input.size()));
        for (size_t i = 0; i < input.size(); i += kBlock)
            detector.process(input.data() + i, static_cast<int>(std::min<size_t>(kBlock, input.size() - i)));
        detector.finishRun();
        double sum = 0.0;
        for (size_t i = 0; i < input.size(); i += 256) sum += detector.ratioAt(i + 0.5);
        benchmark::DoNotOptimize(sum);
    }
    state.counters["x_realtime"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kSeconds, benchmark::Counter::kIsRate);
}

void BM_PrecisePilotTracker(benchmark::State& state) { runWhole<wowfix::PrecisePilotTracker>(state); }
void BM_PrecisePartialTracker(benchmark::State& state) { runWhole<wowfix::PrecisePartialTracker>(state); }

}  // namespace

BENCHMARK(BM_PrecisePilotTracker)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrecisePartialTracker)->Unit(benchmark::kMillisecond);
