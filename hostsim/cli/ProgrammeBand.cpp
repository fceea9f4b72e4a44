#include "hostsim/cli/ProgrammeBand.h"

#include "hostsim/AudioSource.h"
#include "spectral/HartleyTransform.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace wowfix::hostsim {

namespace {
constexpr int kFrame = 4096;
constexpr int kMaxFrames = 64;
constexpr double kLowest = 100.0;
constexpr double kHighest = 5000.0;
constexpr double kRange = 1e-3;  // 30 dB in power
constexpr double kPi = 3.14159265358979323846;
}  // namespace

FrequencyBand programmeBand(AudioSource& source) {
    const double fs = source.sampleRate();
    FrequencyBand band{kLowest, std::min(kHighest, fs / 2.0 - 500.0)};
    if (!(band.high > band.low + 200.0)) band.high = band.low + 200.0;
    const std::int64_t frames = source.frames();
    const int channels = source.channels();
    if (frames < kFrame || channels < 1 || channels > 2) return band;

    std::vector<std::vector<float>> buffers(static_cast<size_t>(channels), std::vector<float>(kFrame));
    std::vector<float*> pointers;
    for (auto& b : buffers) pointers.push_back(b.data());
    std::vector<double> power(kFrame / 2 + 1, 0.0);
    std::vector<float> x(kFrame);
    HartleyTransform fft;
    const int count = static_cast<int>(std::min<std::int64_t>(kMaxFrames, frames / kFrame));
    for (int i = 0; i < count; ++i) {
        const std::int64_t at = (frames - kFrame) * i / std::max(count - 1, 1);
        if (!source.read(at, kFrame, pointers.data())) return band;
        for (int j = 0; j < kFrame; ++j) {
            double v = buffers[0][static_cast<size_t>(j)];
            if (channels == 2) v = (v + buffers[1][static_cast<size_t>(j)]) * 0.5;
            x[static_cast<size_t>(j)] = static_cast<float>(v * (0.5 - 0.5 * std::cos(2.0 * kPi * j / kFrame)));
        }
        fft.realFft(kFrame, x.data());
        for (int k = 1; k < kFrame / 2; ++k)
            power[static_cast<size_t>(k)] += static_cast<double>(x[static_cast<size_t>(k)]) * x[static_cast<size_t>(k)] +
                                             static_cast<double>(x[static_cast<size_t>(kFrame - k)]) * x[static_cast<size_t>(kFrame - k)];
    }
    const int lo = static_cast<int>(std::ceil(band.low * kFrame / fs));
    const int hi = static_cast<int>(std::floor(band.high * kFrame / fs));
    double strongest = 0.0;
    for (int k = lo; k <= hi; ++k) strongest = std::max(strongest, power[static_cast<size_t>(k)]);
    if (!(strongest > 0.0)) return band;
    int first = hi, last = lo;
    for (int k = lo; k <= hi; ++k) {
        if (power[static_cast<size_t>(k)] < strongest * kRange) continue;
        first = std::min(first, k);
        last = std::max(last, k);
    }
    FrequencyBand chosen{first * fs / kFrame, last * fs / kFrame};
    if (chosen.high - chosen.low < 200.0) {
        const double middle = (chosen.low + chosen.high) / 2.0;
        chosen = {std::max(0.0, middle - 100.0), middle + 100.0};
    }
    return chosen;
}

}  // namespace wowfix::hostsim
