#pragma once

// Synthetic programmes for the spectral-domain detector and a run over them.

#include "detectors/SDPvc.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace sdpvc_test {

constexpr double pi = 3.14159265358979323846;

// A phase-continuous sinusoid of frequency(t) Hz and amplitude(t).
inline void addTone(std::vector<float>& x, double fs, const std::function<double(double)>& frequency,
                    const std::function<double(double)>& amplitude, double phase0 = 0.0) {
    double phase = phase0;
    for (size_t n = 0; n < x.size(); ++n) {
        const double t = n / fs;
        x[n] += static_cast<float>(amplitude(t) * std::cos(phase));
        phase += 2.0 * pi * frequency(t) / fs;
    }
}

inline std::function<double(double)> constant(double v) {
    return [v](double) { return v; };
}

// The whole run of the task: blocks of N, the tail, grouping and the result.
inline bool analyse(wowfix::SDPvc& detector, const std::vector<float>& x, int fs, float low, float high) {
    if (!detector.beginAnalysis(fs, low, high, static_cast<long long>(x.size()))) return false;
    const int n = detector.analysisFrameLength();
    std::vector<float> out(static_cast<size_t>(n));
    for (size_t at = 0; at < x.size(); at += static_cast<size_t>(n)) {
        const int count = static_cast<int>(std::min<size_t>(static_cast<size_t>(n), x.size() - at));
        const float* in[1] = {x.data() + at};
        float* o[1] = {out.data()};
        if (!detector.process(count, 1, in, o)) return false;
    }
    return detector.groupTracks() && detector.combineGroups();
}

}  // namespace sdpvc_test
