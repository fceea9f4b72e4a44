#pragma once
// Everything that defines a generated file: the programme, the damage, the
// extra tones and the output's shape. Depths are given in percent and
// levels in dB relative to full scale, as on the command line.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wowfix::gen {

enum class ProgrammeKind { Silence, Sines, Steps, WhiteNoise, PinkNoise, Music, File };

struct ToneLevel {
    double frequency = 0.0;  // Hz
    double level = 0.0;      // dBFS of the tone's peak
};

struct ProgrammeSettings {
    ProgrammeKind kind = ProgrammeKind::Music;
    std::vector<ToneLevel> tones;  // Sines
    // Steps and Music: the peak level; noise: the RMS level; dBFS.
    std::optional<double> level;
    std::string path;  // File
};

struct PeriodicDamage {
    double depthPercent = 0.0;  // peak speed deviation
    double rateHz = 0.0;
};

struct GeneratorSettings {
    int sampleRate = 44100;
    std::optional<int> channels;     // default 2, or the input file's (1 or 2)
    std::optional<double> seconds;   // default 10, or as long as the input file lasts
    ProgrammeSettings programme;
    PeriodicDamage wow;
    PeriodicDamage flutter;
    double driftPercent = 0.0;       // peak of the slow random drift
    PeriodicDamage vibrato;          // the music's top voice sings with vibrato (programme, not damage)
    double intonationCents = 0.0;    // every note of the music off its tempered pitch by up to this
    std::optional<ToneLevel> pilot;  // recorded with the programme: warped
    std::optional<ToneLevel> hum;    // picked up at playback: not warped
    bool humOnTape = false;          // the hum was recorded onto the tape instead
    bool humHarmonics = false;       // the 2nd and 3rd harmonics too (-6 and -10 dB)
    double humDriftPercent = 0.1;    // the mains frequency's own wander
    std::optional<double> testToneLevel;  // dBFS of the clean 3150 Hz tone
    std::uint64_t seed = 1;
    int pvcStep = 256;               // frames between the points of the true curve
};

constexpr double kTestToneFrequency = 3150.0;
constexpr double kDefaultSeconds = 10.0;
constexpr double kToneLevel = -12.0;   // default peak level of tones, steps, music
constexpr double kNoiseLevel = -20.0;  // default RMS level of noise
constexpr double kStepHold = 0.5;      // seconds per step

}  // namespace wowfix::gen
