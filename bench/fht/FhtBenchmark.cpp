// Real forward transform of one block: the store's fast Hartley transform
// against FFTW's single-precision DHT (r2r) and real-to-complex plans, planned
// with FFTW_ESTIMATE and FFTW_MEASURE. Every case copies the same input into its
// work buffer before each transform, so all of them pay the same copy.
//
// On a shared machine run the cases interleaved and repeated, and compare
// medians (or minima) of the same run:
//   bench_fht --benchmark_repetitions=20 --benchmark_enable_random_interleaving=true
//             --benchmark_min_time=0.05 --benchmark_report_aggregates_only=true

#include "spectral/HartleyTransform.h"

#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

std::vector<float> input(int n) {
    std::mt19937 rng(static_cast<unsigned>(n));
    std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
    std::vector<float> x(static_cast<size_t>(n));
    for (float& v : x) v = dist(rng);
    return x;
}

void setCounters(benchmark::State& state, int n) {
    state.SetItemsProcessed(state.iterations() * n);
    state.counters["N"] = n;
}

void BM_HartleyRealFft(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<float> x = input(n);
    float* work = fftwf_alloc_real(static_cast<size_t>(n));
    wowfix::HartleyTransform transform;
    for (auto _ : state) {
        std::memcpy(work, x.data(), sizeof(float) * n);
        transform.realFft(n, work);
        benchmark::DoNotOptimize(work);
        benchmark::ClobberMemory();
    }
    fftwf_free(work);
    setCounters(state, n);
}

void fftwDht(benchmark::State& state, unsigned flags) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<float> x = input(n);
    float* work = fftwf_alloc_real(static_cast<size_t>(n));
    fftwf_plan plan = fftwf_plan_r2r_1d(n, work, work, FFTW_DHT, flags);
    for (auto _ : state) {
        std::memcpy(work, x.data(), sizeof(float) * n);
        fftwf_execute(plan);
        benchmark::DoNotOptimize(work);
        benchmark::ClobberMemory();
    }
    fftwf_destroy_plan(plan);
    fftwf_free(work);
    setCounters(state, n);
}

void fftwR2c(benchmark::State& state, unsigned flags) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<float> x = input(n);
    float* work = fftwf_alloc_real(static_cast<size_t>(n));
    fftwf_complex* out = fftwf_alloc_complex(static_cast<size_t>(n / 2 + 1));
    fftwf_plan plan = fftwf_plan_dft_r2c_1d(n, work, out, flags);
    for (auto _ : state) {
        std::memcpy(work, x.data(), sizeof(float) * n);
        fftwf_execute(plan);
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
    fftwf_destroy_plan(plan);
    fftwf_free(out);
    fftwf_free(work);
    setCounters(state, n);
}

void BM_FftwDhtEstimate(benchmark::State& state) { fftwDht(state, FFTW_ESTIMATE); }
void BM_FftwDhtMeasure(benchmark::State& state) { fftwDht(state, FFTW_MEASURE); }
void BM_FftwR2cEstimate(benchmark::State& state) { fftwR2c(state, FFTW_ESTIMATE); }
void BM_FftwR2cMeasure(benchmark::State& state) { fftwR2c(state, FFTW_MEASURE); }

}  // namespace

BENCHMARK(BM_HartleyRealFft)->RangeMultiplier(2)->Range(256, 8192);
BENCHMARK(BM_FftwDhtEstimate)->RangeMultiplier(2)->Range(256, 8192);
BENCHMARK(BM_FftwR2cEstimate)->RangeMultiplier(2)->Range(256, 8192);
BENCHMARK(BM_FftwDhtMeasure)->RangeMultiplier(2)->Range(256, 8192);
BENCHMARK(BM_FftwR2cMeasure)->RangeMultiplier(2)->Range(256, 8192);
