#pragma once

#include "detectors/BasebandDemodulator.h"
#include "detectors/PilotFinder.h"
#include "detectors/PreciseDetector.h"
#include "detectors/PrecisePilotSettings.h"
#include "detectors/SpeedTrack.h"

#include <atomic>
#include <complex>
#include <string>

namespace wowfix {

// Follows a pilot tone's instantaneous frequency to a few parts in a million
// and turns it into the speed ratio of every sample.
//
// The band of +-"Bandwidth" Hz around the pilot is moved to 0 Hz and
// decimated (BasebandDemodulator). The frequency between two consecutive
// baseband values y[m-1], y[m] is
//
//     f = fc + arg(y[m] conj(y[m-1])) fs / (2 pi D),
//
// which is exact for a steady tone (no peak interpolation, no bin grid) and
// follows changes up to half the baseband rate (about 680 Hz at 44.1 kHz).
// Values whose level lies "Dropout level" dB below the run's median level,
// and those the filter smears into from them, are dropouts: they are bridged
// by a straight line between the frequencies around them and flagged
// (bridgedAt). Isolated outliers (phase slips in noise) are replaced by the
// median of their neighbours; then the track is low-passed without delay at
// "Curve bandwidth" Hz (70 Hz by default, flat to beyond 40 Hz).
//
// The reference, speed 1.0, is the given pilot frequency, or else the median
// frequency of the run. Without a given frequency the pilot is looked for in
// the first seconds of the run (PilotFinder, above the same search floor as
// ToneTracker: 14000 Hz up to fs = 48000 Hz, 25000 Hz above).
//
// A run: startRun, then offerSearchSamples with the start of the run (not
// needed when the pilot frequency is given), then process with the whole run
// in order, then finishRun; afterwards ratioAt gives the curve. The track
// holds 9 bytes per baseband value, fs/D values per second (about 1380 at
// 44.1 kHz, 45 MB for 60 minutes); finishRun needs up to twice that briefly.
// Parameter changes during a run take effect at the next run.
class PrecisePilotTracker final : public PreciseDetector {
public:
    explicit PrecisePilotTracker(double sampleRate);

    int getNumParams() const override { return PrecisePilotSettings::paramCount; }
    float getParameter(int index) const override;
    bool setParameter(int index, float value) override;
    float getParameterDisplayValue(int index) const override;
    const char* parameterName(int index) const override;
    const char* parameterLabel(int index) const override;

    double sampleRate() const { return sampleRate_; }

    // Clears everything and latches the settings. False, with lastMessage(),
    // when the sample rate or the given pilot frequency cannot work.
    bool startRun() override;
    // Room for a run of `frames` samples, so the track does not grow by copies.
    void expectFrames(long long frames) override;
    // The start of the run, for finding the pilot (the first 12 s or so are used).
    void offerSearchSamples(const float* samples, int count) override;
    // The run's samples in order. The first call fixes the pilot's band;
    // false, with lastMessage(), when no pilot is known or found.
    bool process(const float* samples, int count) override;
    // Turns the track into the curve. False, with lastMessage(), when the run
    // was too short or carried no pilot.
    bool finishRun() override;

    // Speed ratio at a sample position of the run (the end values beyond the
    // ends); 1.0 before finishRun has succeeded.
    double ratioAt(double position) const override;
    // Whether the curve at that position bridges a dropout.
    bool bridgedAt(double position) const;
    int bridgedStretches() const override { return bridged_; }
    double centreFrequency() const { return demodulator_.centre(); }
    double referenceFrequency() const { return reference_; }
    const char* lastMessage() const override { return message_.c_str(); }

private:
    bool fail(const std::string& why);
    bool beginTracking();

    double sampleRate_;
    std::atomic<float> params_[PrecisePilotSettings::paramCount];
    PrecisePilotSettings run_;
    PilotFinder finder_;
    BasebandDemodulator demodulator_;
    SpeedTrack track_;
    std::complex<double> previous_{0.0, 0.0};
    bool havePrevious_ = false;
    bool tracking_ = false;
    bool finished_ = false;
    long long expected_ = 0;
    double reference_ = 0.0;
    int bridged_ = 0;
    std::string message_;
};

}  // namespace wowfix
