#pragma once

#include "detectors/PartialAnalyser.h"
#include "detectors/PartialTrackerSettings.h"
#include "detectors/PartialTracks.h"
#include "detectors/PreciseObservations.h"
#include "detectors/PreciseDetector.h"
#include "detectors/SpeedTrack.h"

#include <atomic>
#include <string>
#include <vector>

namespace wowfix {

// Finds the speed of a recording from the partials of its programme.
//
// Every N / 8 samples a frame of N samples is analysed (PartialAnalyser):
// the frequencies of its spectral peaks within the band "Lowest frequency"
// .. "Highest frequency", each to a small fraction of a bin from the phase
// advance over one sample under a Blackman-Harris window. The peaks are
// linked into tracks from frame to frame (PartialTracks), and what every
// track shows past its onset (2 frames) while its level is steady is kept
// (PreciseObservations), weighted by the square root of its level, and less
// while that level changes from frame to frame (an attack or a release pulls
// the measured frequency): by 1 / (1 + (ln step / 0.1)^2).
//
// When the run is finished the speed is solved from all of it at once
// (PreciseSpeedSolver): the tape's speed is common to every partial, each
// partial is divided by its own reference taken over its whole life, and the
// frame's speed is a robust joint value across partials; a partial that
// swings at a singer's vibrato rate by more than the others is down-weighted,
// so the vibrato stays in the programme.
//
// Frames without a speed (nothing steady, or a confidence below 0.25) are
// bridged (flagged) in the finished curve, which is then low-passed without
// delay at "Curve bandwidth" Hz and divided by its median (speed 1.0 is the
// run's median speed).
//
// An area (setArea) limits the analysis to a range of the run; outside it
// the curve is 1.0. A run keeps 12 bytes per partial per frame (about 20
// partials a frame of N / 8 samples on busy music: 1.2 MB a minute at
// 44.1 kHz with the defaults) and the curve's 9 bytes per frame.
class PrecisePartialTracker final : public PreciseDetector {
public:
    explicit PrecisePartialTracker(double sampleRate);

    int getNumParams() const override { return PartialTrackerSettings::paramCount; }
    float getParameter(int index) const override;
    bool setParameter(int index, float value) override;
    float getParameterDisplayValue(int index) const override;
    const char* parameterName(int index) const override;
    const char* parameterLabel(int index) const override;

    // Limits the next runs to sample positions from .. to (exclusive) and, when
    // 0 < low < high, to the partials between low and high Hz instead of the
    // parameters' band. An empty range (to <= from) means the whole run.
    void setArea(double from, double to, double low = 0.0, double high = 0.0);

    bool startRun() override;
    void expectFrames(long long frames) override;
    void offerSearchSamples(const float*, int) override {}
    bool process(const float* samples, int count) override;
    bool finishRun() override;
    double ratioAt(double position) const override;
    int bridgedStretches() const override { return bridged_; }
    const char* lastMessage() const override { return message_.c_str(); }

    bool bridgedAt(double position) const;
    // Confidence of the frame nearest a position, 0..1 (0 before finishRun).
    double confidenceAt(double position) const;

private:
    bool fail(const std::string& why);
    bool inArea(double position) const;
    void analyseFrame();

    double sampleRate_;
    std::atomic<float> params_[PartialTrackerSettings::paramCount];
    PartialTrackerSettings run_;
    double areaFrom_ = 0.0;
    double areaTo_ = 0.0;
    double areaLow_ = 0.0;
    double areaHigh_ = 0.0;
    PartialAnalyser analyser_;
    PartialTracks tracks_;
    SpeedTrack track_;
    std::vector<float> pending_;  // samples not yet past a frame start
    long long frameStart_ = 0;    // run position of pending_[0]
    std::vector<SpectralPartial> partials_;
    PreciseObservations observations_;
    bool running_ = false;
    bool finished_ = false;
    double reference_ = 1.0;
    int bridged_ = 0;
    std::string message_;
};

}  // namespace wowfix
