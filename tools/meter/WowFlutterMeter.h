#pragma once
// The wow-and-flutter meter: reads the speed variation of a recording from
// a steady test tone in it.
//
// The audio (channels mixed to their mean) is demodulated around the tone
// (ToneDemodulator), the tone's instantaneous frequency is taken from the
// phase advance (FrequencyTrack), and its relative deviation from the
// reference frequency is split into drift, unweighted and weighted wow and
// flutter (DeviationAnalysis). The reference is the nominal tone frequency
// when one is given (3150 Hz by default), so that a constant speed error
// shows as the offset; when the meter looks for the strongest tone itself,
// the reference is that tone's mean frequency (offset 0 by definition).

#include <optional>
#include <string>
#include <vector>

#include "tools/meter/DeviationAnalysis.h"
#include "tools/meter/ToneDemodulator.h"

namespace wowfix::meter {

constexpr double kDefaultToneHz = 3150.0;
// The tone must lie this far from 0 Hz and from the Nyquist frequency, so
// that its mirror image stays in the demodulator's stop band.
constexpr double kToneMarginHz = 700.0;
constexpr double kShortestSeconds = 1.0;
constexpr double kSilentLevel = 1e-5;  // −100 dBFS
constexpr double kFadeRatio = 0.1;     // a level 20 dB under the median is a fade

struct MeterSettings {
    // The tone's nominal frequency; none: find the strongest tone.
    std::optional<double> toneHz = kDefaultToneHz;
};

struct Measurement {
    double sampleRate = 0.0;
    int channels = 0;
    double seconds = 0.0;         // length of the audio
    bool toneSearched = false;    // the tone was found as the strongest one
    double toneHz = 0.0;          // the frequency demodulated around
    double referenceHz = 0.0;     // d = f / referenceHz − 1
    double meanHz = 0.0;
    double toneLevelDb = 0.0;     // median peak level of the tone, dBFS
    bool toneFades = false;       // the tone drops 20 dB below its median somewhere
    DeviationBands bands;
    WowFlutterFigures figures;
};

// Measures mono samples in memory.
bool measureSamples(const std::vector<float>& samples, double sampleRate, const MeterSettings& settings,
                    Measurement& measurement, std::string& error);
// Measures a sound file, streaming it.
bool measureFile(const std::string& path, const MeterSettings& settings, Measurement& measurement,
                 std::string& error);

}  // namespace wowfix::meter
