#pragma once
// The hum tracker's twelve parameters: normalised values 0 ... 1 and the
// settings they give, in display units.
//
//  0 Level Floor        dB    below it the hum counts as absent
//  1 Anti-Alias Cutoff  Hz    low-pass before decimation (rate >= twice it)
//  2 Decimated Rate     Hz    rate of the preprocessed signal
//  3 Band Lower Bound   Hz    band-pass around the tracked hum component
//  4 Band Upper Bound   Hz
//  5 Smoothing Length   smpl  moving average of the frequency (decimated)
//  6 Median Length      smpl  median of the frequency, <= smoothing
//  7 Difference Lag     smpl  phase difference span, >= 2, <= smoothing / 2
//  8 Demodulator Order        low-pass order of the demodulator, 2 ... 8
//  9 Demodulator Cutoff Hz    how far from nominal the tracker follows
// 10 Nominal Frequency  Hz    50, 60 Hz or their 2nd or 3rd harmonic
// 11 Ratio Limit        %     larger deviations count as no estimate

#include <array>
#include <cstddef>

namespace wowfix::hum {

enum HumParameter : int {
    kLevelFloor = 0,
    kAntiAliasCutoff,
    kDecimatedRate,
    kBandLower,
    kBandUpper,
    kSmoothingLength,
    kMedianLength,
    kDifferenceLag,
    kDemodulatorOrder,
    kDemodulatorCutoff,
    kNominalFrequency,
    kRatioLimit,
    kHumParameterCount
};

class HumParameters {
public:
    HumParameters();

    static constexpr int count() { return kHumParameterCount; }
    static bool isIndex(int index) { return index >= 0 && index < kHumParameterCount; }

    float value(int index) const { return isIndex(index) ? values_[static_cast<std::size_t>(index)] : 0.0f; }
    // Clamped to 0 ... 1; a value that is not a number or a bad index is ignored.
    void setValue(int index, float value);
    float display(int index) const;
    static const char* name(int index);
    static const char* label(int index);

    // The nominal frequency a normalised value selects.
    static float nominalOf(float value);

private:
    std::array<float, kHumParameterCount> values_{};
};

}  // namespace wowfix::hum
