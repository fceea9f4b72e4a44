#pragma once

#include "detectors/PvcDetector.h"
#include "detectors/SpectrumShaper.h"
#include "detectors/SpectrumSmoother.h"
#include "detectors/ToneTrackerSettings.h"
#include "detectors/TrackerRunState.h"
#include "spectral/HartleyTransform.h"

#include <atomic>
#include <vector>

namespace wowfix {

// Follows the frequency of a steady high-frequency tone recorded with the
// programme (a pilot tone) and turns a mono stream into a per-sample speed
// ratio: the tone's frequency divided by its frequency in the run's reference
// frame, so 1.0 is nominal speed and 1.01 means the recording runs 1 % fast.
//
// Analysis. The stream is cut into frames of N samples, one every hop =
// N - overlap samples. Each frame is Hann-windowed and transformed; its spectrum
// is pre-emphasised, raised to the 4th power (SpectrumShaper), smoothed across F
// bins and over the last T frames (SpectrumSmoother). The tone is then located:
//   - simple path: the highest bin between the search floor and the top bin
//     (floor 14000 Hz when fs <= 48000, 25000 Hz above);
//   - predictive path (fs <= 48000, from the tenth frame after the reference
//     one): a quadratic extrapolation of the last three frequencies predicts
//     the tone, and the centre of gravity of a band around the prediction
//     (PredictionBand) points to the peak nearest to it.
// A peak counts only if it stands out of its neighbourhood (at least 1000 times
// the median of the bins within 4 (2 + F/2) of it, about 15 dB in power): a
// tone does, noise does not. Both paths then measure the peak the same way, as
// the centre of gravity of the smoothed spectrum within 2 + F/2 bins of it, so
// a steady tone reads exactly the same in every frame and the ratio is 1.0 (the
// reference and the later frames come from one estimator). A predictive frame
// whose result lies 600 Hz or more from the previous frequency is rejected.
//
// Output. Each frame's frequency f is interpolated linearly from the previous
// frame's over the next hop; the value for sample n describes the recording
// getDelay() samples earlier. Frequencies in Hz are bin * fs / N.
//
// No pilot. Until the reference frame the output is 1.0, so a selection without
// any pilot reads 1.0 throughout. The reference is the run's first frame when
// that frame has a peak; a pilot that appears later (a selection that starts
// with silence) is measured once the frames cut by its onset have left the
// smoothing, ceil(N / hop) + T - 1 frames after the first frame with a peak. A
// frame without a peak (silence, noise) or a predictive frame whose result is
// rejected holds the previous frequency: when the pilot vanishes, the curve
// stays at its last value. After ten predictive frames in a row without a
// result the whole band is searched again, so the pilot is found anew after a
// click or a dropout. A stronger tone in the band (programme, a whistle) is
// followed like the pilot. Whatever the input, every value is finite and
// positive (every position lies in bins 1 .. N/2). Non-finite input samples
// count as 0 and samples beyond +-1e6 are clipped there.
//
// Runs. A run starts with startRun (or, failing that, the first process call
// after construction) and latches all six settings: parameter changes during a
// run are stored and shown, but take effect at the next run, so a run keeps its
// N, hop, orders and tables. A sample rate that cannot hold a pilot above the
// search floor (fs <= 2 * floor, i.e. up to 28000 Hz, or 48000 < fs <= 50000)
// makes startRun fail with a message; process then writes 1.0 and answers false.
//
// Threads: setParameter and the getters of the parameter interface may be
// called from another thread than the one that runs startRun, process and
// getDelay. Buffers for the largest N are allocated at construction; nothing is
// allocated per frame.
class ToneTracker final : public PvcDetector {
public:
    explicit ToneTracker(float sampleRate);
    ToneTracker(const ToneTracker&) = delete;
    ToneTracker& operator=(const ToneTracker&) = delete;

    // Lowest frequency searched at a sample rate: 14000 Hz up to 48000 Hz,
    // 25000 Hz above.
    static double searchFloorFor(double sampleRate);
    // Whether a pilot above the search floor fits below fs / 2.
    static bool supportsSampleRate(double sampleRate);

    int getNumParams() const override { return ToneTrackerSettings::paramCount; }
    float getParameter(int index) const override;
    bool setParameter(int index, float value) override;
    float getParameterDisplayValue(int index) const override;
    const char* parameterName(int index) const override;
    const char* parameterLabel(int index) const override;

    // Samples between a frame's position in the stream and the output sample
    // where its frequency has been fully reached:
    //     round(1.5 N - overlap - 1 + hop (T - 1) / 2)     (1023 with the defaults).
    // The settings of the run in progress, else those the next run will use.
    int getDelay() const;

    // Starts a run with the current settings: empty input history, no
    // reference, cleared smoothing and run state. Answers false, with
    // lastMessage() saying why, when the sample rate cannot hold a pilot.
    bool startRun(TrackerRunState& state);
    bool runInProgress() const { return running_; }

    // Takes `count` samples of `channels` inputs (mixed to mono as their mean)
    // and writes the speed ratio of every sample to every output channel. Inputs
    // and outputs may be the same arrays. Starts a run first if none is in
    // progress. Answers false, writing nothing, for channels < 1, count < 0 or
    // a null array; answers false and writes 1.0 when no run can start.
    bool process(int count, int channels, const float* const* inputs, float* const* outputs,
                 TrackerRunState& state);

    float sampleRate() const { return static_cast<float>(sampleRate_); }
    double searchFloor() const { return searchFloor_; }
    // Frequency of the reference frame in Hz; 0 until a frame has had a peak.
    double referenceFrequency() const;
    // Why the last startRun failed; "" after a successful one.
    const char* lastMessage() const { return message_; }

private:
    ToneTrackerSettings currentSettings() const;
    double hz(double bin) const { return bin * sampleRate_ / run_.fftLength; }
    double bin(double hertz) const { return hertz * run_.fftLength / sampleRate_; }
    int measureRadius() const { return 2 + run_.freqSmooth / 2; }

    void analyseFrame(const float* frame, TrackerRunState& state);
    void acquireReference(TrackerRunState& state);
    static void pushHistory(TrackerRunState& state, double frequency);
    bool simpleEstimate(double& position) const;
    double predictiveEstimate(TrackerRunState& state, bool& accepted) const;
    double measure(int peak) const;
    bool isTone(int peak) const;
    void fillHop(double frequency);

    double sampleRate_;
    double searchFloor_;
    std::atomic<float> params_[ToneTrackerSettings::paramCount];

    // The run in progress.
    bool running_ = false;
    ToneTrackerSettings run_;
    int floorBin_ = 0;
    bool usesPrediction_ = false;
    double refFrequency_ = 0.0;    // 0: no reference yet
    double prevFrequency_ = -1.0;  // -1: no frame with a frequency yet
    double lastSimpleBin_ = 0.0;
    int framesAnalysed_ = 0;     // 0, 1, or 2 for "more than one"
    int settleCountdown_ = -1;   // frames until a pilot that appeared late is measured

    // Streaming state.
    std::vector<float> ring_;       // 2 * maxFftLength input samples
    int writeIndex_ = 0;
    int frameStart_ = 0;
    std::vector<float> hopBuffer_;  // maxFftLength output values
    int readIndex_ = -1;

    // Frame analysis.
    std::vector<float> work_;        // maxFftLength
    std::vector<double> spectrum_;   // maxBins
    std::vector<double> scratch_;    // maxBins
    HartleyTransform fft_;
    SpectrumShaper shaper_;
    SpectrumSmoother smoother_;

    char message_[160];
};

}  // namespace wowfix
