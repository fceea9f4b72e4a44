#pragma once
// An additive "music" programme: four voices in different registers, each
// playing a random melody of notes on a major scale. A note is a harmonic
// tone (up to eight partials with a voice-specific roll-off) under an
// envelope that rises, decays to a sustain level and releases to zero by the
// note's end. In stereo every voice has its own place between the channels.
// Every voice is scaled so that the mix never exceeds `amplitude`.

#include <cstdint>
#include <vector>

#include "tools/gen/Random.h"
#include "tools/gen/WarpedSynth.h"

namespace wowfix::gen {

class HarmonicMusic : public WarpedSynth {
public:
    // Notes are scheduled over programme times 0 … `length` seconds; partials
    // that would pass 0.45 × the sample rate at `maxSpeed` are left out.
    HarmonicMusic(Random random, double amplitude, int channels, double sampleRate, double maxSpeed,
                  double length);
    void addFrame(double tau, double* frame) const override;
    // The top voice sings with vibrato: each of its notes' frequency times
    // 1 + depth sin(2 pi rate u), u the time since the note's start.
    void setVibrato(double depth, double rate);
    // Every note off its tempered pitch by a random amount, uniform within
    // +-`cents`, as loosely tuned playing is (the melodies stay the same).
    void setIntonation(Random random, double cents);

    static constexpr int kVoices = 4;
    static constexpr int kPartials = 8;

private:
    struct Note {
        double start;
        double length;
        double frequency;
        int partials;
    };
    struct Voice {
        std::vector<Note> notes;
        double partialGain[kPartials];
        double channelGain[2];
    };
    static double envelope(double u, double length);

    std::vector<Voice> voices_;
    int channels_;
    double level_;
    double vibratoDepth_ = 0.0;
    double vibratoRate_ = 0.0;
};

}  // namespace wowfix::gen
