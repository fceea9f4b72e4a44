#include "tools/meter/WowFlutterMeter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tools/soundio/SoundFileReader.h"
#include "tools/meter/FrequencyTrack.h"
#include "tools/meter/ToneFinder.h"

namespace wowfix::meter {

namespace {

constexpr long kBlock = 16384;
constexpr std::size_t kSearchLength = 1u << 17;  // samples looked at for the strongest tone

std::string hz(double value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.1f Hz", value);
    return text;
}

bool checkTone(double toneHz, double sampleRate, std::string& error) {
    if (!std::isfinite(toneHz) || toneHz < kToneMarginHz || toneHz > 0.5 * sampleRate - kToneMarginHz) {
        error = "the tone must lie between " + hz(kToneMarginHz) + " and " + hz(0.5 * sampleRate - kToneMarginHz) +
                " at this sample rate (asked: " + hz(toneHz) + ")";
        return false;
    }
    return true;
}

bool findTone(const std::vector<float>& stretch, double sampleRate, double& toneHz, std::string& error) {
    toneHz = strongestTone(stretch, sampleRate, kToneMarginHz, 0.5 * sampleRate - kToneMarginHz);
    if (toneHz <= 0.0) {
        error = "no tone found between " + hz(kToneMarginHz) + " and " + hz(0.5 * sampleRate - kToneMarginHz);
        return false;
    }
    return true;
}

double median(std::vector<double> x) {
    if (x.empty()) return 0.0;
    std::nth_element(x.begin(), x.begin() + static_cast<long>(x.size() / 2), x.end());
    return x[x.size() / 2];
}

// From the demodulated tone to the figures.
bool finish(const ToneDemodulator& demodulator, bool searched, std::optional<double> nominalHz, double toneHz,
            Measurement& m, std::string& error) {
    FrequencyTrack track = trackFrequency(demodulator, toneHz);
    if (static_cast<double>(track.hz.size()) < kShortestSeconds * track.rate) {
        error = "too short: the meter needs at least " + std::to_string(static_cast<int>(kShortestSeconds)) +
                " s of tone";
        return false;
    }
    const double level = median(track.level);
    if (level < kSilentLevel) {
        error = "no tone at " + hz(toneHz) + " (its level is below -100 dBFS)";
        return false;
    }
    // The mean over the span that the figures cover.
    std::size_t begin = 0, end = 0;
    settledSpan(track.hz.size(), track.rate, begin, end);
    double sum = 0.0;
    for (std::size_t i = begin; i < end; ++i) sum += track.hz[i];
    m.toneSearched = searched;
    m.toneHz = toneHz;
    m.meanHz = sum / static_cast<double>(end - begin);
    m.referenceHz = nominalHz ? *nominalHz : m.meanHz;
    m.toneLevelDb = 20.0 * std::log10(level);
    m.toneFades = *std::min_element(track.level.begin(), track.level.end()) < kFadeRatio * level;
    std::vector<double> deviation(track.hz.size());
    for (std::size_t i = 0; i < deviation.size(); ++i) deviation[i] = track.hz[i] / m.referenceHz - 1.0;
    m.bands = splitDeviation(std::move(deviation), track.rate, track.startTime);
    m.figures = figuresOf(m.bands);
    return true;
}

}  // namespace

bool measureSamples(const std::vector<float>& samples, double sampleRate, const MeterSettings& settings,
                    Measurement& measurement, std::string& error) {
    measurement = Measurement();
    measurement.sampleRate = sampleRate;
    measurement.channels = 1;
    measurement.seconds = static_cast<double>(samples.size()) / sampleRate;
    double toneHz = 0.0;
    if (settings.toneHz) {
        toneHz = *settings.toneHz;
        if (!checkTone(toneHz, sampleRate, error)) return false;
    } else {
        const std::size_t length = std::min(samples.size(), kSearchLength);
        const std::size_t start = (samples.size() - length) / 2;
        const std::vector<float> stretch(samples.begin() + static_cast<long>(start),
                                         samples.begin() + static_cast<long>(start + length));
        if (!findTone(stretch, sampleRate, toneHz, error)) return false;
    }
    ToneDemodulator demodulator(toneHz, sampleRate);
    demodulator.feed(samples.data(), static_cast<long>(samples.size()));
    return finish(demodulator, !settings.toneHz, settings.toneHz, toneHz, measurement, error);
}

namespace {

// Reads up to `frames` frames and mixes them to mono; −1 on a read error.
long readMono(soundio::SoundFileReader& reader, std::vector<float>& buffer, std::vector<float>& mono, long frames) {
    const int channels = reader.channels();
    buffer.resize(static_cast<std::size_t>(frames) * channels);
    const long got = reader.read(buffer.data(), frames);
    if (got < 0) return -1;
    mono.resize(static_cast<std::size_t>(got));
    for (long i = 0; i < got; ++i) {
        double sum = 0.0;
        for (int c = 0; c < channels; ++c) sum += buffer[static_cast<std::size_t>(i * channels + c)];
        mono[static_cast<std::size_t>(i)] = static_cast<float>(sum / channels);
    }
    return got;
}

}  // namespace

bool measureFile(const std::string& path, const MeterSettings& settings, Measurement& measurement,
                 std::string& error) {
    measurement = Measurement();
    std::unique_ptr<soundio::SoundFileReader> reader = soundio::SoundFileReader::open(path, error);
    if (reader == nullptr) return false;
    const double fs = reader->sampleRate();
    measurement.sampleRate = fs;
    measurement.channels = reader->channels();
    measurement.seconds = static_cast<double>(reader->frames()) / fs;

    std::vector<float> buffer;
    std::vector<float> mono;
    double toneHz = 0.0;
    if (settings.toneHz) {
        toneHz = *settings.toneHz;
        if (!checkTone(toneHz, fs, error)) return false;
    } else {
        const std::int64_t length = std::min<std::int64_t>(reader->frames(), kSearchLength);
        if (!reader->seek((reader->frames() - length) / 2) ||
            readMono(*reader, buffer, mono, static_cast<long>(length)) < 0 || !reader->seek(0)) {
            error = "cannot read '" + path + "'";
            return false;
        }
        if (!findTone(mono, fs, toneHz, error)) return false;
    }

    ToneDemodulator demodulator(toneHz, fs);
    for (;;) {
        const long got = readMono(*reader, buffer, mono, kBlock);
        if (got < 0) {
            error = "cannot read '" + path + "'";
            return false;
        }
        if (got == 0) break;
        demodulator.feed(mono.data(), got);
    }
    return finish(demodulator, !settings.toneHz, settings.toneHz, toneHz, measurement, error);
}

}  // namespace wowfix::meter
