// Throughput of the spectral-domain detector on 44.1 kHz stereo programme: a
// whole run (beginAnalysis, the stereo stream in blocks of N as the run task
// feeds it, groupTracks, combineGroups) over 60 s of harmonic notes, four
// voices of eight partials each changing note every 0.5 s, with 0.3 % wow at
// 0.5 Hz. The counter x_realtime is seconds of audio per second of one core.
//
// Run: build with -DWOWFIX_BUILD_BENCH=ON, then
//   taskset -c 1 build/bench/sdpvc/bench_sdpvc --benchmark_repetitions=3 --benchmark_report_aggregates_only=true

#include "detectors/SDPvc.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr int kSeconds = 60;

struct Stereo {
    std::vector<float> left, right;
};

Stereo harmonicNotes() {
    const size_t frames = static_cast<size_t>(kRate) * kSeconds;
    Stereo s{std::vector<float>(frames), std::vector<float>(frames)};
    const double roots[4] = {110.0, 220.0, 330.0, 440.0};
    const int scale[8] = {0, 2, 4, 5, 7, 9, 11, 12};
    double phase[4][8] = {};
    for (size_t n = 0; n < frames; ++n) {
        const double t = static_cast<double>(n) / kRate;
        const double speed = 1.0 + 0.003 * std::sin(2.0 * M_PI * 0.5 * t);
        const int note = static_cast<int>(t / 0.5);
        double l = 0.0, r = 0.0;
        for (int v = 0; v < 4; ++v) {
            const double f0 = roots[v] * std::pow(2.0, scale[(note * (v + 3)) % 8] / 12.0);
            for (int p = 0; p < 8; ++p) {
                const double a = 0.05 / (p + 1);
                const double x = a * std::sin(phase[v][p]);
                phase[v][p] = std::fmod(phase[v][p] + 2.0 * M_PI * f0 * (p + 1) * speed / kRate, 2.0 * M_PI);
                (v % 2 == 0 ? l : r) += x;
                (v % 2 == 0 ? r : l) += 0.5 * x;
            }
        }
        s.left[n] = static_cast<float>(l);
        s.right[n] = static_cast<float>(r);
    }
    return s;
}

// One run over frames [from, to) of the input; answers the group count.
int detect(wowfix::SDPvc& detector, const Stereo& input, size_t from, size_t to) {
    detector.beginAnalysis(kRate, 100.0f, 3000.0f, static_cast<long long>(to - from));
    const int n = detector.blockLength();
    std::vector<float> outLeft(static_cast<size_t>(n)), outRight(static_cast<size_t>(n));
    for (size_t at = from; at < to; at += static_cast<size_t>(n)) {
        const int count = static_cast<int>(std::min<size_t>(static_cast<size_t>(n), to - at));
        const float* in[2] = {input.left.data() + at, input.right.data() + at};
        float* out[2] = {outLeft.data(), outRight.data()};
        detector.process(count, 2, in, out);
    }
    detector.groupTracks();
    detector.combineGroups();
    benchmark::DoNotOptimize(detector.resultValue(0));
    return detector.groupCount();
}

// Arguments: "FFT Length" value x100 (25: N 512, the default; 100: N 4096)
// and the area length in seconds (60: one run over everything; 5: twelve
// runs, as wowfix-host does without --area).
void BM_SDPvcStereoRun(benchmark::State& state) {
    static const Stereo input = harmonicNotes();
    const size_t frames = input.left.size();
    const size_t area = static_cast<size_t>(state.range(1)) * kRate;
    int groups = 0;
    for (auto _ : state) {
        groups = 0;
        for (size_t from = 0; from < frames; from += area) {
            wowfix::SDPvc detector;
            detector.setParameter(0, state.range(0) / 100.0f);
            groups += detect(detector, input, from, std::min(frames, from + area));
        }
    }
    state.counters["groups"] = groups;
    state.counters["x_realtime"] =
        benchmark::Counter(static_cast<double>(state.iterations() * frames) / kRate, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SDPvcStereoRun)
    ->ArgNames({"fftLength", "areaSeconds"})
    ->Args({25, 60})
    ->Args({25, 5})
    ->Args({100, 5})
    ->Unit(benchmark::kMillisecond);

}  // namespace
