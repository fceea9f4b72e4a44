// Throughput of the pilot-tone tracker on 44.1 kHz mono input (a stereo file is
// mixed to this one stream before it reaches the tracker), in blocks of 1024
// samples as the tracking task feeds it. The counter x_realtime is seconds of
// audio per second of one core.
//
// Baselines in the same run: the per-frame transform alone, once with the
// project's Hartley transform and once with FFTW, at the frame rate of the
// tracker's default settings (N = 1024, hop 256).
//
// Run: build with -DWOWFIX_BUILD_BENCH=ON, then
//   taskset -c 1 build/bench/tracker/bench_tracker --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "detectors/ToneTracker.h"
#include "spectral/HartleyTransform.h"

#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cmath>
#include <vector>

namespace {

constexpr double kRate = 44100.0;
constexpr int kBlock = 1024;
constexpr int kSeconds = 10;

std::vector<float> pilotWithWow()
{
    std::vector<float> x(static_cast<size_t>(kRate * kSeconds));
    double phase = 0.0;
    uint32_t noise = 1;
    for (size_t i = 0; i < x.size(); ++i) {
        noise = noise * 1664525u + 1013904223u;
        x[i] = 0.1f * static_cast<float>(std::sin(phase)) + 1e-3f * (static_cast<float>(noise >> 8) / 8388608.0f - 1.0f);
        const double ratio = 1.0 + 0.003 * std::sin(2.0 * M_PI * 0.5 * i / kRate);
        phase = std::fmod(phase + 2.0 * M_PI * 19000.0 * ratio / kRate, 2.0 * M_PI);
    }
    return x;
}

void setRealtimeCounter(benchmark::State& state, size_t samples)
{
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * samples));
    state.counters["x_realtime"] =
        benchmark::Counter(static_cast<double>(state.iterations() * samples) / kRate, benchmark::Counter::kIsRate);
}

// Arguments: FFT length exponent, overlap value x100, time smooth value x100.
void BM_ToneTracker(benchmark::State& state)
{
    static const std::vector<float> input = pilotWithWow();
    std::vector<float> output(kBlock);
    for (auto _ : state) {
        wowfix::ToneTracker tracker(static_cast<float>(kRate));
        tracker.setParameter(0, (state.range(0) - 9) / 4.0f);
        tracker.setParameter(1, state.range(1) / 100.0f);
        tracker.setParameter(3, state.range(2) / 100.0f);
        wowfix::TrackerRunState run;
        tracker.startRun(run);
        for (size_t i = 0; i + kBlock <= input.size(); i += kBlock) {
            const float* in[1] = {input.data() + i};
            float* out[1] = {output.data()};
            tracker.process(kBlock, 1, in, out, run);
        }
        benchmark::DoNotOptimize(output.data());
    }
    setRealtimeCounter(state, input.size() / kBlock * kBlock);
}
BENCHMARK(BM_ToneTracker)
    ->ArgNames({"log2N", "overlap", "tsmooth"})
    ->Args({10, 100, 10})   // defaults: N 1024, hop 256, T 3
    ->Args({9, 100, 100})   // N 512, hop 128, T 16: most frames per second
    ->Args({13, 100, 100})  // N 8192, hop 2048, T 16: largest frames
    ->Args({13, 0, 10})     // N 8192, no overlap
    ->Unit(benchmark::kMillisecond);

// The transforms alone, one per hop of the default settings.
void BM_FramesHartleyOnly(benchmark::State& state)
{
    const int N = 1024, hop = 256;
    const size_t frames = static_cast<size_t>(kRate * kSeconds) / hop;
    std::vector<float> work(N, 0.25f);
    wowfix::HartleyTransform fft;
    for (auto _ : state) {
        for (size_t f = 0; f < frames; ++f) {
            fft.realFft(N, work.data());
            benchmark::DoNotOptimize(work.data());
        }
    }
    setRealtimeCounter(state, frames * hop);
}
BENCHMARK(BM_FramesHartleyOnly)->Unit(benchmark::kMillisecond);

void BM_FramesFftwOnly(benchmark::State& state)
{
    const int N = 1024, hop = 256;
    const size_t frames = static_cast<size_t>(kRate * kSeconds) / hop;
    float* in = fftwf_alloc_real(N);
    fftwf_complex* out = fftwf_alloc_complex(N / 2 + 1);
    fftwf_plan plan = fftwf_plan_dft_r2c_1d(N, in, out, FFTW_MEASURE);
    for (int i = 0; i < N; ++i)
        in[i] = 0.25f;
    for (auto _ : state) {
        for (size_t f = 0; f < frames; ++f) {
            fftwf_execute(plan);
            benchmark::DoNotOptimize(out);
        }
    }
    setRealtimeCounter(state, frames * hop);
    fftwf_destroy_plan(plan);
    fftwf_free(out);
    fftwf_free(in);
}
BENCHMARK(BM_FramesFftwOnly)->Unit(benchmark::kMillisecond);

}  // namespace
