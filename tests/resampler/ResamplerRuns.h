#pragma once

// Drives a resampler over a whole selection the way the correction task does:
// blocks of a fixed length, the final one shorter, first and last flagged.

#include "tasks/VarispeedResampler.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <utility>
#include <vector>

namespace resampler_test {

constexpr double pi = 3.141592653589793;
constexpr double sampleRate = 44100.0;

// A programme-like signal: a few partials at random frequencies and phases plus
// a little noise, peak below 1.
inline std::vector<float> testSignal(int frames, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    double freq[4], phase[4];
    for (int p = 0; p < 4; ++p) {
        freq[p] = 50.0 + 15000.0 * unit(rng);
        phase[p] = 2.0 * pi * unit(rng);
    }
    std::vector<float> x(static_cast<size_t>(frames));
    for (int n = 0; n < frames; ++n) {
        double v = 0.02 * (2.0 * unit(rng) - 1.0);
        for (int p = 0; p < 4; ++p)
            v += 0.2 * std::sin(2.0 * pi * freq[p] * n / sampleRate + phase[p]);
        x[n] = static_cast<float>(v);
    }
    return x;
}

// A speed curve wobbling around 1 by about `depth`: slow wow, faster flutter and
// a little jitter, as a detector would deliver it.
inline std::vector<float> wobblingCurve(int frames, unsigned seed, double depth)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double wow = 0.3 + 2.0 * unit(rng), flutter = 4.0 + 10.0 * unit(rng);
    const double phase = 2.0 * pi * unit(rng);
    std::vector<float> r(static_cast<size_t>(frames));
    for (int n = 0; n < frames; ++n) {
        const double t = n / sampleRate;
        r[n] = static_cast<float>(1.0 + depth * (0.7 * std::sin(2.0 * pi * wow * t + phase) +
                                                 0.25 * std::sin(2.0 * pi * flutter * t) +
                                                 0.05 * (2.0 * unit(rng) - 1.0)));
    }
    return r;
}

struct BlockRun {
    std::vector<float> output;
    std::vector<int> blockFrames; // frames answered by each prepare
    bool ok = true;               // every call succeeded
};

template <class Resampler>
BlockRun runBlocks(Resampler& resampler, int H, const std::vector<float>& input, const std::vector<float>& ratios,
              int blockSize)
{
    BlockRun run;
    run.ok = resampler.init(H, blockSize);
    const int total = static_cast<int>(input.size());
    int start = 0;
    bool first = true;
    while (run.ok) {
        const int count = std::min(blockSize, total - start);
        const bool last = start + count == total;
        const int n = resampler.prepare(ratios.data() + start, input.data() + start, count, first, last);
        first = false;
        if (n < 0) {
            run.ok = false;
            break;
        }
        std::vector<float> out(static_cast<size_t>(n));
        run.ok = resampler.render(out.data());
        run.output.insert(run.output.end(), out.begin(), out.end());
        run.blockFrames.push_back(n);
        start += count;
        if (last)
            break;
    }
    return run;
}

template <class Resampler>
BlockRun runBlocks(int H, const std::vector<float>& input, const std::vector<float>& ratios, int blockSize)
{
    Resampler resampler;
    return runBlocks(resampler, H, input, ratios, blockSize);
}

// Both channels through one renderPair per block.
inline std::pair<BlockRun, BlockRun> runPair(int H, const std::vector<float>& left, const std::vector<float>& right,
                                   const std::vector<float>& ratios, int blockSize)
{
    wowfix::VarispeedResampler r0, r1;
    BlockRun a, b;
    a.ok = r0.init(H, blockSize) && r1.init(H, blockSize);
    const int total = static_cast<int>(left.size());
    for (int start = 0, first = 1; a.ok; first = 0) {
        const int count = std::min(blockSize, total - start);
        const bool last = start + count == total;
        const int n0 = r0.prepare(ratios.data() + start, left.data() + start, count, first, last);
        const int n1 = r1.prepare(ratios.data() + start, right.data() + start, count, first, last);
        if (n0 < 0 || n0 != n1) {
            a.ok = false;
            break;
        }
        std::vector<float> out0(static_cast<size_t>(n0)), out1(static_cast<size_t>(n1));
        a.ok = wowfix::VarispeedResampler::renderPair(r0, r1, out0.data(), out1.data());
        a.output.insert(a.output.end(), out0.begin(), out0.end());
        b.output.insert(b.output.end(), out1.begin(), out1.end());
        start += count;
        if (last)
            break;
    }
    b.ok = a.ok;
    return {a, b};
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

inline std::vector<float> constantCurve(int frames, float ratio)
{
    return std::vector<float>(static_cast<size_t>(frames), ratio);
}

} // namespace resampler_test
