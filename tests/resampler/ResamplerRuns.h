#pragma once

// Test signals and curves, and a driver that runs a resampler over a whole
// selection the way the correction task does: blocks of a fixed length, the
// final one shorter, first and last flagged.

#include "tasks/VarispeedResampler.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <type_traits>
#include <vector>

namespace resampler_test {

constexpr double pi = 3.141592653589793;
constexpr double sampleRate = 44100.0;

// Programme-like: four partials at random frequencies and phases plus a little
// noise, peak below 1.
inline std::vector<float> testSignal(int frames, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    double freq[4], phase[4];
    for (int p = 0; p < 4; ++p) {
        freq[p] = 50.0 + 15000.0 * unit(rng);
        phase[p] = 2.0 * pi * unit(rng);
    }
    std::vector<float> x(frames);
    for (int n = 0; n < frames; ++n) {
        double v = 0.02 * (2.0 * unit(rng) - 1.0);
        for (int p = 0; p < 4; ++p)
            v += 0.2 * std::sin(2.0 * pi * freq[p] * n / sampleRate + phase[p]);
        x[n] = static_cast<float>(v);
    }
    return x;
}

// A speed curve wobbling around 1 by about `depth`: wow, flutter and jitter.
inline std::vector<float> wobblingCurve(int frames, unsigned seed, double depth)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double wow = 0.3 + 2.0 * unit(rng), flutter = 4.0 + 10.0 * unit(rng), phase = 2.0 * pi * unit(rng);
    std::vector<float> r(frames);
    for (int n = 0; n < frames; ++n) {
        const double t = n / sampleRate;
        r[n] = static_cast<float>(1.0 + depth * (0.7 * std::sin(2.0 * pi * wow * t + phase) +
                                                 0.25 * std::sin(2.0 * pi * flutter * t) + 0.05 * (2.0 * unit(rng) - 1.0)));
    }
    return r;
}

inline std::vector<float> constantCurve(int frames, float ratio)
{
    return std::vector<float>(frames, ratio);
}

struct BlockRun {
    std::vector<float> output;
    std::vector<int> blockFrames; // frames answered by each prepare
    bool ok = true;               // every call succeeded
};

// Runs every channel (same ratios) block by block; with two channels of the
// plug-in's resampler both go through one renderPair.
template <class Resampler>
std::vector<BlockRun> runChannels(int H, const std::vector<std::vector<float>>& inputs,
                                  const std::vector<float>& ratios, int blockSize)
{
    const size_t channels = inputs.size();
    std::vector<Resampler> resamplers(channels);
    std::vector<BlockRun> runs(channels);
    bool ok = true;
    for (Resampler& r : resamplers)
        ok = r.init(H, blockSize) && ok;
    const int total = static_cast<int>(inputs[0].size());
    for (int start = 0; ok;) {
        const int count = std::min(blockSize, total - start);
        const bool first = start == 0, last = start + count == total;
        std::vector<std::vector<float>> out(channels);
        for (size_t ch = 0; ch < channels; ++ch) {
            const int n = resamplers[ch].prepare(ratios.data() + start, inputs[ch].data() + start, count, first, last);
            ok = ok && n >= 0;
            out[ch].resize(std::max(n, 0));
            runs[ch].blockFrames.push_back(n);
        }
        bool paired = false;
        if constexpr (std::is_same_v<Resampler, wowfix::VarispeedResampler>) {
            if (channels == 2) {
                ok = ok && Resampler::renderPair(resamplers[0], resamplers[1], out[0].data(), out[1].data());
                paired = true;
            }
        }
        for (size_t ch = 0; ch < channels && !paired; ++ch)
            ok = ok && resamplers[ch].render(out[ch].data());
        for (size_t ch = 0; ch < channels; ++ch)
            runs[ch].output.insert(runs[ch].output.end(), out[ch].begin(), out[ch].end());
        start += count;
        if (last)
            break;
    }
    for (BlockRun& run : runs)
        run.ok = ok;
    return runs;
}

template <class Resampler>
BlockRun runBlocks(int H, const std::vector<float>& input, const std::vector<float>& ratios, int blockSize)
{
    return runChannels<Resampler>(H, {input}, ratios, blockSize)[0];
}

// Largest |a[n] - b[n]|; infinite when the lengths differ or a value is not a
// number.
inline double maxAbsDiff(const std::vector<float>& a, const std::vector<float>& b)
{
    if (a.size() != b.size())
        return INFINITY;
    double worst = 0.0;
    for (size_t n = 0; n < a.size(); ++n) {
        const double diff = std::fabs(static_cast<double>(a[n]) - b[n]);
        if (std::isnan(diff))
            return INFINITY;
        worst = std::max(worst, diff);
    }
    return worst;
}

} // namespace resampler_test
