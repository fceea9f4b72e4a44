#include "tools/gen/DamagedRecording.h"

#include <cmath>
#include <limits>

#include "tools/gen/FileSource.h"
#include "tools/gen/HarmonicMusic.h"
#include "tools/gen/MathConstants.h"
#include "tools/gen/NoiseSource.h"
#include "tools/gen/SteppedTones.h"

namespace wowfix::gen {

namespace {

constexpr int kLowestRate = 1000;
constexpr int kHighestRate = 768000;
constexpr double kHighestModulationRate = 1000.0;  // Hz
constexpr double kLargestDeviation = 0.5;          // the speed stays within 0.5 … 1.5
constexpr double kLargestHumDrift = 10.0;          // percent
constexpr double kDriftLow = 0.01, kDriftHigh = 0.1;        // Hz, the tape's drift
constexpr double kHumDriftLow = 0.02, kHumDriftHigh = 0.2;  // Hz, the mains' wander

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%g", value);
    return text;
}

bool checkModulation(const PeriodicDamage& damage, const char* name, std::string& error) {
    if (!std::isfinite(damage.depthPercent) || damage.depthPercent < 0.0) {
        error = std::string(name) + " depth must be a percentage of 0 or more";
        return false;
    }
    if (damage.depthPercent > 0.0 &&
        (!std::isfinite(damage.rateHz) || damage.rateHz <= 0.0 || damage.rateHz > kHighestModulationRate)) {
        error = std::string(name) + " rate must be above 0 and at most " + number(kHighestModulationRate) + " Hz";
        return false;
    }
    return true;
}

// A tone recorded on the medium is heard up to (1 + deviation) times higher.
bool checkTone(const ToneLevel& tone, const std::string& name, double fs, double deviation, std::string& error) {
    if (!std::isfinite(tone.level)) {
        error = name + " level must be a number of dB";
        return false;
    }
    if (!std::isfinite(tone.frequency) || tone.frequency <= 0.0) {
        error = name + " frequency must be above 0 Hz";
        return false;
    }
    if (tone.frequency * (1.0 + deviation) >= 0.5 * fs) {
        error = name + " at " + number(tone.frequency) + " Hz reaches the Nyquist frequency (" + number(0.5 * fs) +
                " Hz) when the recording runs fast; lower it or raise --rate";
        return false;
    }
    return true;
}

Modulation modulationOf(const PeriodicDamage& damage) { return {damage.depthPercent / 100.0, damage.rateHz}; }

}  // namespace

std::unique_ptr<DamagedRecording> DamagedRecording::create(const GeneratorSettings& s, std::string& error) {
    if (s.sampleRate < kLowestRate || s.sampleRate > kHighestRate) {
        error = "sample rate must be " + std::to_string(kLowestRate) + " to " + std::to_string(kHighestRate) + " Hz";
        return nullptr;
    }
    const double fs = s.sampleRate;
    if (s.channels && *s.channels != 1 && *s.channels != 2) {
        error = "channels must be 1 or 2";
        return nullptr;
    }
    if (!checkModulation(s.wow, "wow", error) || !checkModulation(s.flutter, "flutter", error) ||
        !checkModulation(s.vibrato, "vibrato", error))
        return nullptr;
    if (s.vibrato.depthPercent > 0.0 && s.programme.kind != ProgrammeKind::Music) {
        error = "vibrato needs the music programme (--programme music)";
        return nullptr;
    }
    if (!std::isfinite(s.intonationCents) || s.intonationCents < 0.0 || s.intonationCents > 50.0) {
        error = "intonation must be 0 to 50 cents";
        return nullptr;
    }
    if (s.intonationCents > 0.0 && s.programme.kind != ProgrammeKind::Music) {
        error = "intonation needs the music programme (--programme music)";
        return nullptr;
    }
    if (!std::isfinite(s.driftPercent) || s.driftPercent < 0.0) {
        error = "drift depth must be a percentage of 0 or more";
        return nullptr;
    }
    const double deviation = (s.wow.depthPercent + s.flutter.depthPercent + s.driftPercent) / 100.0;
    if (deviation >= kLargestDeviation) {
        error = "wow, flutter and drift together reach " + number(100.0 * deviation) +
                " %; they must stay below " + number(100.0 * kLargestDeviation) + " %";
        return nullptr;
    }
    if (s.pvcStep < 1) {
        error = "the curve's step must be at least 1 frame";
        return nullptr;
    }
    if (!std::isfinite(s.humDriftPercent) || s.humDriftPercent < 0.0 || s.humDriftPercent >= kLargestHumDrift) {
        error = "hum drift must be 0 to below " + number(kLargestHumDrift) + " %";
        return nullptr;
    }
    if (s.seconds && (!std::isfinite(*s.seconds) || *s.seconds <= 0.0)) {
        error = "duration must be above 0 seconds";
        return nullptr;
    }
    if (s.programme.level && !std::isfinite(*s.programme.level)) {
        error = "programme level must be a number of dB";
        return nullptr;
    }

    std::unique_ptr<DamagedRecording> r(new DamagedRecording());
    r->sampleRate_ = s.sampleRate;
    r->humOnTape_ = s.humOnTape;

    // The input file decides the defaults of channels and duration.
    std::unique_ptr<FileSource> file;
    if (s.programme.kind == ProgrammeKind::File) {
        file = FileSource::open(s.programme.path, s.channels.value_or(0), error);
        if (file == nullptr) return nullptr;
    }
    r->channels_ = file ? file->channels() : s.channels.value_or(2);

    // Frames. A file programme without a duration gives the longest file
    // that it is sure to cover: τ(t) ≤ t·(1 + deviation).
    double seconds = s.seconds.value_or(kDefaultSeconds);
    if (file && !s.seconds) {
        const double programmeSeconds = static_cast<double>(file->frames() - 1) / file->sampleRate();
        seconds = programmeSeconds / (1.0 + deviation);
    }
    const double frames = std::floor(seconds * fs + 0.5);
    if (frames < 2.0 || frames > static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
        error = "duration must give 2 to " + std::to_string(std::numeric_limits<std::int32_t>::max()) +
                " frames at " + std::to_string(s.sampleRate) + " Hz";
        return nullptr;
    }
    r->frames_ = static_cast<std::int64_t>(frames);

    r->speed_ = SpeedModel(modulationOf(s.wow), modulationOf(s.flutter),
                           DriftCurve(s.driftPercent / 100.0, kDriftLow, kDriftHigh,
                                      Random(s.seed, RandomStream::Drift), fs, r->frames_));
    if (file) {
        const double lastTau = r->speed_.warpedTime(static_cast<double>(r->frames_ - 1) / fs);
        const double available = static_cast<double>(file->frames() - 1) / file->sampleRate();
        if (lastTau > available) {
            error = "'" + s.programme.path + "' lasts " + number(available) + " s but this damage plays " +
                    number(lastTau) + " s of it; shorten --seconds";
            return nullptr;
        }
    }

    // The programme.
    const double maxSpeed = 1.0 + deviation;
    const double programmeLength = (static_cast<double>(r->frames_) / fs) * maxSpeed + 1.0;
    const int channels = r->channels_;
    switch (s.programme.kind) {
        case ProgrammeKind::Silence:
            r->synth_ = std::make_unique<SineTones>(std::vector<Tone>{}, channels);
            break;
        case ProgrammeKind::Sines: {
            std::vector<Tone> tones;
            for (const ToneLevel& t : s.programme.tones) {
                if (!checkTone(t, "tone " + number(t.frequency) + " Hz", fs, deviation, error)) return nullptr;
                tones.push_back({t.frequency, amplitudeOfDb(t.level)});
            }
            if (tones.empty()) {
                error = "the sine programme names no tone";
                return nullptr;
            }
            r->synth_ = std::make_unique<SineTones>(std::move(tones), channels);
            break;
        }
        case ProgrammeKind::Steps: {
            std::vector<double> steps = SteppedTones::standardSteps(0.45 * fs / maxSpeed);
            r->synth_ = std::make_unique<SteppedTones>(std::move(steps), kStepHold,
                                                       amplitudeOfDb(s.programme.level.value_or(kToneLevel)),
                                                       channels);
            break;
        }
        case ProgrammeKind::Music: {
            auto music = std::make_unique<HarmonicMusic>(Random(s.seed, RandomStream::Music),
                                                         amplitudeOfDb(s.programme.level.value_or(kToneLevel)),
                                                         channels, fs, maxSpeed, programmeLength);
            music->setVibrato(s.vibrato.depthPercent / 100.0, s.vibrato.rateHz);
            music->setIntonation(Random(s.seed, RandomStream::Intonation), s.intonationCents);
            r->synth_ = std::move(music);
            break;
        }
        case ProgrammeKind::WhiteNoise:
        case ProgrammeKind::PinkNoise: {
            auto noise = std::make_unique<NoiseSource>(s.programme.kind == ProgrammeKind::PinkNoise,
                                                       amplitudeOfDb(s.programme.level.value_or(kNoiseLevel)),
                                                       channels, fs, s.seed);
            r->resampler_ = WarpedResampler::create(std::move(noise), r->speed_, fs, error);
            if (r->resampler_ == nullptr) return nullptr;
            break;
        }
        case ProgrammeKind::File:
            r->resampler_ = WarpedResampler::create(std::move(file), r->speed_, fs, error);
            if (r->resampler_ == nullptr) return nullptr;
            break;
    }

    // Tones recorded with the programme.
    std::vector<Tone> recorded;
    if (s.testToneLevel) {
        const ToneLevel tone{kTestToneFrequency, *s.testToneLevel};
        if (!checkTone(tone, "the test tone", fs, deviation, error)) return nullptr;
        recorded.push_back({tone.frequency, amplitudeOfDb(tone.level)});
    }
    if (s.pilot) {
        if (!checkTone(*s.pilot, "the pilot tone", fs, deviation, error)) return nullptr;
        recorded.push_back({s.pilot->frequency, amplitudeOfDb(s.pilot->level)});
    }
    if (!recorded.empty()) r->recordedTones_.emplace(std::move(recorded), channels);

    if (s.hum) {
        const double humDeviation = (s.humOnTape ? deviation : 0.0) + s.humDriftPercent / 100.0;
        if (!checkTone(*s.hum, "the hum", fs, humDeviation, error)) return nullptr;
        if (s.humHarmonics &&
            !checkTone(ToneLevel{3.0 * s.hum->frequency, s.hum->level}, "the hum's 3rd harmonic", fs, humDeviation,
                       error))
            return nullptr;
        r->hum_ = MainsHum(s.hum->frequency, amplitudeOfDb(s.hum->level),
                           DriftCurve(s.humDriftPercent / 100.0, kHumDriftLow, kHumDriftHigh,
                                      Random(s.seed, RandomStream::HumDrift), fs, r->frames_),
                           s.humHarmonics);
    }
    return r;
}

bool DamagedRecording::render(float* interleaved, long count, std::string& error) {
    if (count < 0 || next_ + count > frames_) {
        error = "rendering past the end of the recording";
        return false;
    }
    const int channels = channels_;
    const double fs = sampleRate_;
    mix_.assign(static_cast<std::size_t>(count) * channels, 0.0);
    if (resampler_ && !resampler_->addFrames(mix_.data(), count, error)) return false;
    for (long i = 0; i < count; ++i) {
        const double t = static_cast<double>(next_ + i) / fs;
        const double tau = speed_.warpedTime(t);
        double* frame = mix_.data() + i * channels;
        if (synth_) synth_->addFrame(tau, frame);
        if (recordedTones_) recordedTones_->addFrame(tau, frame);
        const double hum = hum_.value(humOnTape_ ? tau : t);
        for (int c = 0; c < channels; ++c) {
            const double v = frame[c] + hum;
            peak_ = std::fmax(peak_, std::fabs(v));
            interleaved[i * channels + c] = static_cast<float>(v);
        }
    }
    next_ += count;
    return true;
}

}  // namespace wowfix::gen
