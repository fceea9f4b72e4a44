// Varispeed correction of a stereo 44.1 kHz recording along a wobbling speed
// curve (0.5 Hz wow and 6 Hz flutter), in host blocks of 8192 frames:
//   - the direct tap-by-tap interpolator (the reference),
//   - VarispeedResampler with both channels through renderPair,
//   - libsamplerate's SRC_SINC_FASTEST and SRC_SINC_MEDIUM_QUALITY doing the
//     same job through src_process, interleaved, with the ratio changed every
//     64 frames.
// Items are input frames (stereo frames) corrected per second.

#include "tasks/VarispeedResampler.h"
#include "tools/reference/ReferenceResampler.h"

#include <benchmark/benchmark.h>
#include <samplerate.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr double pi = 3.141592653589793;
constexpr double sampleRate = 44100.0;
constexpr int blockSize = 8192;
constexpr int ratioChunk = 64;

struct Recording {
    std::vector<float> left, right, interleaved, ratios;
    int frames = 0;
};

const Recording& recording(int seconds)
{
    static Recording cached;
    const int frames = static_cast<int>(seconds * sampleRate);
    if (cached.frames == frames)
        return cached;
    cached.frames = frames;
    std::mt19937 rng(42);
    std::uniform_real_distribution<float> noise(-0.01f, 0.01f);
    cached.left.resize(frames);
    cached.right.resize(frames);
    cached.interleaved.resize(2 * static_cast<size_t>(frames));
    cached.ratios.resize(frames);
    for (int n = 0; n < frames; ++n) {
        const double t = n / sampleRate;
        cached.left[n] = static_cast<float>(0.4 * std::sin(2.0 * pi * 440.0 * t) + 0.2 * std::sin(2.0 * pi * 3150.0 * t)) +
                         noise(rng);
        cached.right[n] = static_cast<float>(0.4 * std::sin(2.0 * pi * 554.4 * t + 1.0)) + noise(rng);
        cached.interleaved[2 * n] = cached.left[n];
        cached.interleaved[2 * n + 1] = cached.right[n];
        cached.ratios[n] =
            static_cast<float>(1.0 + 0.003 * std::sin(2.0 * pi * 0.5 * t) + 0.001 * std::sin(2.0 * pi * 6.0 * t));
    }
    return cached;
}

void finish(benchmark::State& state, const Recording& rec, long outputFrames)
{
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(rec.frames));
    state.counters["outFrames"] = static_cast<double>(outputFrames);
}

// One correction run over the recording with a pair of interpolators, block by
// block as the correction task drives them.
template <class Resampler, class RenderBlock>
long correct(const Recording& rec, Resampler& r0, Resampler& r1, std::vector<float>& out0, std::vector<float>& out1,
             RenderBlock renderBlock)
{
    r0.init(8, blockSize);
    r1.init(8, blockSize);
    long produced = 0;
    for (int start = 0; start < rec.frames; start += blockSize) {
        const int count = std::min(blockSize, rec.frames - start);
        const bool first = start == 0;
        const bool last = start + count == rec.frames;
        const int n = r0.prepare(rec.ratios.data() + start, rec.left.data() + start, count, first, last);
        r1.prepare(rec.ratios.data() + start, rec.right.data() + start, count, first, last);
        if (static_cast<size_t>(n) > out0.size()) {
            out0.resize(n);
            out1.resize(n);
        }
        renderBlock(r0, r1, out0.data(), out1.data());
        benchmark::DoNotOptimize(out0.data());
        benchmark::DoNotOptimize(out1.data());
        produced += n;
    }
    return produced;
}

void BM_ReferenceResampler(benchmark::State& state)
{
    const Recording& rec = recording(static_cast<int>(state.range(0)));
    wowfix::reference::ReferenceResampler r0, r1;
    std::vector<float> out0(4 * blockSize), out1(4 * blockSize);
    long produced = 0;
    for (auto _ : state)
        produced = correct(rec, r0, r1, out0, out1, [](auto& a, auto& b, float* o0, float* o1) {
            a.render(o0);
            b.render(o1);
        });
    finish(state, rec, produced);
}

void BM_VarispeedResamplerPair(benchmark::State& state)
{
    const Recording& rec = recording(static_cast<int>(state.range(0)));
    wowfix::VarispeedResampler r0, r1;
    std::vector<float> out0(4 * blockSize), out1(4 * blockSize);
    long produced = 0;
    for (auto _ : state)
        produced = correct(rec, r0, r1, out0, out1, [](auto& a, auto& b, float* o0, float* o1) {
            wowfix::VarispeedResampler::renderPair(a, b, o0, o1);
        });
    finish(state, rec, produced);
}

void libsamplerate(benchmark::State& state, int converter)
{
    const Recording& rec = recording(static_cast<int>(state.range(0)));
    int error = 0;
    SRC_STATE* src = src_new(converter, 2, &error);
    if (src == nullptr) {
        state.SkipWithError(src_strerror(error));
        return;
    }
    std::vector<float> out(2 * 4 * ratioChunk);
    long produced = 0;
    for (auto _ : state) {
        src_reset(src);
        produced = 0;
        for (int start = 0; start < rec.frames; start += ratioChunk) {
            SRC_DATA data{};
            data.data_in = rec.interleaved.data() + 2 * static_cast<size_t>(start);
            data.input_frames = std::min(ratioChunk, rec.frames - start);
            data.src_ratio = rec.ratios[start];
            data.end_of_input = start + data.input_frames == rec.frames;
            // Feed the chunk until it is consumed (and drained at the end).
            for (;;) {
                data.data_out = out.data();
                data.output_frames = static_cast<long>(out.size() / 2);
                if (src_process(src, &data) != 0) {
                    state.SkipWithError("src_process failed");
                    src_delete(src);
                    return;
                }
                benchmark::DoNotOptimize(out.data());
                produced += data.output_frames_gen;
                data.data_in += 2 * data.input_frames_used;
                data.input_frames -= data.input_frames_used;
                if (data.input_frames == 0 && (!data.end_of_input || data.output_frames_gen == 0))
                    break;
            }
        }
    }
    src_delete(src);
    finish(state, rec, produced);
}

void BM_LibsamplerateSincFastest(benchmark::State& state) { libsamplerate(state, SRC_SINC_FASTEST); }
void BM_LibsamplerateSincMedium(benchmark::State& state) { libsamplerate(state, SRC_SINC_MEDIUM_QUALITY); }

} // namespace

BENCHMARK(BM_ReferenceResampler)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VarispeedResamplerPair)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibsamplerateSincFastest)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibsamplerateSincMedium)->Arg(2)->Unit(benchmark::kMillisecond);
