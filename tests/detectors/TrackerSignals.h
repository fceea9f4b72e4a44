#pragma once

// Synthetic pilot tones and a block-wise run of the tracker over them.

#include "detectors/ToneTracker.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

namespace tracker_test {

constexpr double pi = 3.14159265358979323846;

// Speed ratio as a function of the sample index.
using RatioCurve = std::function<double(long)>;

inline RatioCurve steady()
{
    return [](long) { return 1.0; };
}

// 1 + depth sin(2 pi rate n / fs): wow of the given depth (0.003 = 0.3 %) and rate (Hz).
inline RatioCurve sinusoidalWow(double depth, double rate, double fs)
{
    return [=](long n) { return 1.0 + depth * std::sin(2.0 * pi * rate * n / fs); };
}

// 1 before sample `at`, `to` from there on.
inline RatioCurve stepAt(long at, double to)
{
    return [=](long n) { return n < at ? 1.0 : to; };
}

// Small reproducible white noise in [-amplitude, amplitude].
class Noise {
public:
    explicit Noise(uint32_t seed = 12345u) : state_(seed) {}
    float next(float amplitude)
    {
        state_ = state_ * 1664525u + 1013904223u;
        return amplitude * (static_cast<float>(state_ >> 8) / 8388608.0f - 1.0f);
    }

private:
    uint32_t state_;
};

// A tone of amplitude `level` whose instantaneous frequency at sample n is
// f0 * ratio(n), over white noise of amplitude `noise`. The phase is accumulated,
// so frequency changes are continuous in phase.
inline std::vector<float> pilotTone(double fs, double f0, long frames, const RatioCurve& ratio,
                                    float level = 0.1f, float noise = 0.001f, uint32_t seed = 12345u)
{
    std::vector<float> x(frames);
    Noise n(seed);
    double phase = 0.0;
    for (long i = 0; i < frames; ++i) {
        x[i] = level * static_cast<float>(std::sin(phase)) + n.next(noise);
        phase = std::fmod(phase + 2.0 * pi * f0 * ratio(i) / fs, 2.0 * pi);
    }
    return x;
}

// Streams `input` through the tracker in blocks of `block` mono samples and
// collects one output per input sample.
inline std::vector<float> track(wowfix::ToneTracker& tracker, wowfix::TrackerRunState& state,
                                const std::vector<float>& input, int block = 1024)
{
    std::vector<float> output(input.size());
    for (size_t i = 0; i < input.size(); i += block) {
        const int count = static_cast<int>(std::min<size_t>(block, input.size() - i));
        const float* in[1] = {input.data() + i};
        float* out[1] = {output.data() + i};
        tracker.process(count, 1, in, out, state);
    }
    return output;
}

inline std::vector<float> track(wowfix::ToneTracker& tracker, const std::vector<float>& input, int block = 1024)
{
    wowfix::TrackerRunState state;
    tracker.startRun(state);
    return track(tracker, state, input, block);
}

// The normalised "FFT Length" value that selects N = 2^e.
inline float fftLengthValue(int e)
{
    return static_cast<float>((e - 9) / 4.0);
}

}  // namespace tracker_test
