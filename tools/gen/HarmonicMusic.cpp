#include "tools/gen/HarmonicMusic.h"

#include <algorithm>
#include <cmath>

#include "tools/gen/MathConstants.h"

namespace wowfix::gen {

namespace {

constexpr int kScale[7] = {0, 2, 4, 5, 7, 9, 11};  // major scale, semitones
constexpr int kLowestNote[HarmonicMusic::kVoices] = {36, 48, 57, 64};  // MIDI note of degree 0
constexpr double kRollOff[HarmonicMusic::kVoices] = {1.0, 1.3, 1.6, 2.0};
constexpr double kPan[HarmonicMusic::kVoices] = {-0.2, 0.6, -0.6, 0.2};
constexpr double kBeats[] = {0.25, 0.375, 0.5, 0.75, 1.0};  // note lengths, seconds
constexpr double kRestChance = 0.1;

constexpr double kAttack = 0.02;
constexpr double kDecay = 0.3;  // time constant towards the sustain level
constexpr double kSustain = 0.6;
constexpr double kRelease = 0.08;

double midiFrequency(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

}  // namespace

HarmonicMusic::HarmonicMusic(Random random, double amplitude, int channels, double sampleRate, double maxSpeed,
                             double length)
    : channels_(channels), level_(amplitude / kVoices) {
    const double highest = 0.45 * sampleRate / maxSpeed;
    for (int v = 0; v < kVoices; ++v) {
        Voice voice;
        double sum = 0.0;
        for (int h = 0; h < kPartials; ++h) sum += voice.partialGain[h] = std::pow(h + 1.0, -kRollOff[v]);
        for (double& g : voice.partialGain) g /= sum;
        // Constant-power pan: left cos θ, right sin θ, θ from 0 to π/2.
        const double theta = (kPan[v] + 1.0) * kPi / 4.0;
        voice.channelGain[0] = channels == 2 ? std::cos(theta) : 1.0;
        voice.channelGain[1] = std::sin(theta);

        int degree = random.below(7);
        double t = 0.0;
        while (t < length) {
            const double noteLength = kBeats[random.below(5)];
            degree = std::clamp(degree + random.below(7) - 3, 0, 13);
            if (random.uniform() >= kRestChance) {
                const int note = kLowestNote[v] + 12 * (degree / 7) + kScale[degree % 7];
                Note n{t, noteLength, midiFrequency(note), 0};
                while (n.partials < kPartials && (n.partials + 1) * n.frequency < highest) ++n.partials;
                if (n.partials > 0) voice.notes.push_back(n);
            }
            t += noteLength;
        }
        voices_.push_back(voice);
    }
}

void HarmonicMusic::setIntonation(Random random, double cents) {
    if (!(cents > 0.0)) return;
    for (Voice& voice : voices_)
        for (Note& note : voice.notes) note.frequency *= std::pow(2.0, random.uniform(-cents, cents) / 1200.0);
}

// Raised-cosine attack, exponential decay to the sustain level, raised-cosine
// release over the last kRelease seconds: zero at both ends of the note.
double HarmonicMusic::envelope(double u, double length) {
    if (u < 0.0 || u >= length) return 0.0;
    double e = u < kAttack ? 0.5 * (1.0 - std::cos(kPi * u / kAttack))
                           : kSustain + (1.0 - kSustain) * std::exp(-(u - kAttack) / kDecay);
    const double release = std::min(kRelease, 0.5 * length);
    if (u > length - release) e *= 0.5 * (1.0 + std::cos(kPi * (u - (length - release)) / release));
    return e;
}

void HarmonicMusic::setVibrato(double depth, double rate) {
    vibratoDepth_ = rate > 0.0 ? depth : 0.0;
    vibratoRate_ = rate;
}

void HarmonicMusic::addFrame(double tau, double* frame) const {
    for (std::size_t v = 0; v < voices_.size(); ++v) {
        const Voice& voice = voices_[v];
        const auto after = std::upper_bound(voice.notes.begin(), voice.notes.end(), tau,
                                            [](double t, const Note& n) { return t < n.start; });
        if (after == voice.notes.begin()) continue;
        const Note& note = *(after - 1);
        const double u = tau - note.start;
        const double e = envelope(u, note.length);
        if (e == 0.0) continue;
        // Partials by the recurrence sin((h+1)θ) = 2·cos θ·sin(hθ) − sin((h−1)θ).
        // With vibrato the phase is the integral of f (1 + d sin(2 pi r u)).
        const bool sings = v + 1 == voices_.size() && vibratoDepth_ > 0.0;
        const double cycles =
            sings ? note.frequency * (u + vibratoDepth_ * (1.0 - std::cos(kTwoPi * vibratoRate_ * u)) / (kTwoPi * vibratoRate_))
                  : note.frequency * u;
        const double theta = kTwoPi * (cycles - std::floor(cycles));
        const double twoCos = 2.0 * std::cos(theta);
        double previous = 0.0;
        double current = std::sin(theta);
        double sum = 0.0;
        for (int h = 0; h < note.partials; ++h) {
            sum += voice.partialGain[h] * current;
            const double next = twoCos * current - previous;
            previous = current;
            current = next;
        }
        const double value = level_ * e * sum;
        for (int c = 0; c < channels_; ++c) frame[c] += voice.channelGain[c] * value;
    }
}

}  // namespace wowfix::gen
