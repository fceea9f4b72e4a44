#include "detectors/ToneTracker.h"

#include "detectors/PredictionBand.h"
#include "detectors/SpectralPeaks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace wowfix {

namespace {

constexpr double kLowSearchFloor = 14000.0;   // Hz, up to 48000 Hz sampling
constexpr double kHighSearchFloor = 25000.0;  // Hz, above
constexpr double kPredictionHighestRate = 48000.0;
constexpr int kSimpleFrames = 9;              // frames before the predictive path takes over
constexpr double kMaxFrameStep = 600.0;       // Hz a predictive frame may move
constexpr double kNotchReach = 1500.0;        // Hz from the simple position where the notch applies
constexpr double kNotchRadius = 100.0;        // Hz
constexpr double kNearDistance = 200.0;       // Hz
constexpr int kNearFrames = 10;
constexpr int kRelockFrames = 10;             // predictive frames without a result before a new search
constexpr double kPeakContrast = 1000.0;      // peak over its neighbourhood's median, 4th-power spectrum
constexpr float kSampleLimit = 1.0e6f;        // keeps every power finite

int roundHalfUp(double x)
{
    return static_cast<int>(x + 0.5);
}

float cleanSample(float x)
{
    if (!std::isfinite(x))
        return 0.0f;
    return std::max(-kSampleLimit, std::min(kSampleLimit, x));
}

}  // namespace

ToneTracker::ToneTracker(float sampleRate)
    : sampleRate_(sampleRate),
      searchFloor_(searchFloorFor(sampleRate)),
      ring_(2 * ToneTrackerSettings::maxFftLength, 0.0f),
      hopBuffer_(ToneTrackerSettings::maxFftLength, 1.0f),
      work_(ToneTrackerSettings::maxFftLength, 0.0f),
      spectrum_(ToneTrackerSettings::maxBins, 0.0),
      scratch_(ToneTrackerSettings::maxBins, 0.0)
{
    message_[0] = '\0';
    for (auto& p : params_)
        p.store(0.0f);
    for (int i = 0; i < ToneTrackerSettings::paramCount; ++i)
        setParameter(i, ToneTrackerSettings::defaultValue(i));
    run_ = currentSettings();
}

double ToneTracker::searchFloorFor(double sampleRate)
{
    return sampleRate > kPredictionHighestRate ? kHighSearchFloor : kLowSearchFloor;
}

bool ToneTracker::supportsSampleRate(double sampleRate)
{
    return std::isfinite(sampleRate) && sampleRate > 2.0 * searchFloorFor(sampleRate);
}

float ToneTracker::getParameter(int index) const
{
    return isParameterIndex(index) ? params_[index].load() : 0.0f;
}

bool ToneTracker::setParameter(int index, float value)
{
    float stored;
    if (isParameterIndex(index) && normalisedValue(value, stored))
        params_[index].store(stored);
    return true;
}

float ToneTracker::getParameterDisplayValue(int index) const
{
    return isParameterIndex(index) ? ToneTrackerSettings::displayValue(index, params_[index].load()) : 0.0f;
}

const char* ToneTracker::parameterName(int index) const
{
    return ToneTrackerSettings::name(index);
}

const char* ToneTracker::parameterLabel(int index) const
{
    return ToneTrackerSettings::label(index);
}

ToneTrackerSettings ToneTracker::currentSettings() const
{
    float v[ToneTrackerSettings::paramCount];
    for (int i = 0; i < ToneTrackerSettings::paramCount; ++i)
        v[i] = params_[i].load();
    return ToneTrackerSettings::fromNormalised(v);
}

int ToneTracker::getDelay() const
{
    const ToneTrackerSettings s = running_ ? run_ : currentSettings();
    const double N = s.fftLength;
    return roundHalfUp(1.5 * N - s.overlapSamples - 1.0 + s.hop() * (s.timeSmooth - 1) / 2.0);
}

double ToneTracker::referenceFrequency() const
{
    return running_ ? refFrequency_ : 0.0;
}

bool ToneTracker::startRun(TrackerRunState& state)
{
    state = TrackerRunState{};
    running_ = false;
    const ToneTrackerSettings s = currentSettings();
    if (!supportsSampleRate(sampleRate_)) {
        std::snprintf(message_, sizeof message_,
                      "Sampling frequency %.0f Hz is too low for pilot-tone tracking: the search starts at "
                      "%.0f Hz, so it needs more than %.0f Hz.",
                      sampleRate_, searchFloor_, 2.0 * searchFloor_);
        return false;
    }
    const int K = s.bins();
    const int floorBin = roundHalfUp(searchFloor_ * s.fftLength / sampleRate_);
    if (floorBin > K - 2 || !shaper_.configure(s.fftLength, s.preemphasis) ||
        !smoother_.configure(K, s.freqSmooth, s.timeSmooth)) {
        std::snprintf(message_, sizeof message_,
                      "No pilot-tone search band at %.0f Hz with an FFT length of %d.", sampleRate_, s.fftLength);
        return false;
    }
    run_ = s;
    floorBin_ = std::max(1, floorBin);
    usesPrediction_ = sampleRate_ <= kPredictionHighestRate;
    refFrequency_ = 0.0;
    prevFrequency_ = -1.0;
    lastSimpleBin_ = 0.0;
    framesAnalysed_ = 0;
    settleCountdown_ = -1;
    std::fill(ring_.begin(), ring_.end(), 0.0f);
    std::fill(hopBuffer_.begin(), hopBuffer_.end(), 1.0f);
    writeIndex_ = 0;
    frameStart_ = 0;
    readIndex_ = -1;
    message_[0] = '\0';
    running_ = true;
    return true;
}

bool ToneTracker::process(int count, int channels, const float* const* inputs, float* const* outputs,
                          TrackerRunState& state)
{
    if (count < 0 || channels < 1 || inputs == nullptr || outputs == nullptr)
        return false;
    for (int c = 0; c < channels; ++c) {
        if (count > 0 && (inputs[c] == nullptr || outputs[c] == nullptr))
            return false;
    }
    if (!running_ && !startRun(state)) {
        for (int c = 0; c < channels; ++c)
            std::fill(outputs[c], outputs[c] + count, 1.0f);
        return false;
    }

    const int N = run_.fftLength;
    const float mixScale = 1.0f / channels;
    for (int i = 0; i < count; ++i) {
        float sum = 0.0f;
        for (int c = 0; c < channels; ++c)
            sum += inputs[c][i];
        ring_[writeIndex_] = cleanSample(sum * mixScale);

        // The ring holds 2N samples; when full, its newer half moves down.
        if (writeIndex_ == 2 * N - 1) {
            std::copy(ring_.begin() + N, ring_.begin() + 2 * N, ring_.begin());
            frameStart_ -= N;
            writeIndex_ = N - 1;
        }
        ++writeIndex_;

        if (writeIndex_ - frameStart_ == N) {
            analyseFrame(ring_.data() + frameStart_, state);
            frameStart_ = writeIndex_ - run_.overlapSamples;
            readIndex_ = -1;
        }
        readIndex_ = std::min(readIndex_ + 1, N - 1);
        const float value = hopBuffer_[readIndex_];
        for (int c = 0; c < channels; ++c)
            outputs[c][i] = value;
    }
    return true;
}

void ToneTracker::analyseFrame(const float* frame, TrackerRunState& state)
{
    shaper_.applyWindow(frame, work_.data());
    fft_.realFft(run_.fftLength, work_.data());
    shaper_.shapeSpectrum(work_.data(), spectrum_.data());
    smoother_.smooth(spectrum_.data(), scratch_.data());
    if (framesAnalysed_ < 2)
        ++framesAnalysed_;

    if (refFrequency_ <= 0.0) {
        acquireReference(state);
        return;
    }
    double frequency;
    if (usesPrediction_ && state.frameCount >= kSimpleFrames) {
        bool accepted = false;
        frequency = predictiveEstimate(state, accepted);
        state.missCount = accepted ? 0 : state.missCount + 1;
        if (state.missCount >= kRelockFrames) {
            // Lock lost (a click, a dropout, a jump): search the whole band again.
            state.frameCount = 0;
            state.missCount = 0;
            state.nearCount = 0;
        }
    } else {
        double position;
        if (simpleEstimate(position)) {
            lastSimpleBin_ = position;
            frequency = hz(position);
        } else {
            frequency = prevFrequency_;  // no peak: hold
        }
    }
    if (state.frameCount < kSimpleFrames)
        ++state.frameCount;
    pushHistory(state, frequency);
    fillHop(frequency);
}

void ToneTracker::acquireReference(TrackerRunState& state)
{
    std::fill(hopBuffer_.begin(), hopBuffer_.begin() + run_.hop(), 1.0f);
    double position;
    if (!simpleEstimate(position)) {
        settleCountdown_ = -1;
        return;
    }
    // A pilot present from the run's first frame is measured at once. One that
    // appears later is measured once no frame that began before it is left in
    // the smoothed spectrum: a frame cut by the onset smears the peak.
    if (framesAnalysed_ == 1)
        settleCountdown_ = 0;
    else if (settleCountdown_ < 0)
        settleCountdown_ = (run_.fftLength + run_.hop() - 1) / run_.hop() + run_.timeSmooth - 1;
    if (settleCountdown_ > 0) {
        --settleCountdown_;
        return;
    }
    lastSimpleBin_ = position;
    refFrequency_ = prevFrequency_ = hz(position);
    state.frameCount = 1;
    pushHistory(state, refFrequency_);
}

void ToneTracker::pushHistory(TrackerRunState& state, double frequency)
{
    state.history[0] = state.history[1];
    state.history[1] = state.history[2];
    state.history[2] = frequency;
}

bool ToneTracker::simpleEstimate(double& position) const
{
    const int K = run_.bins();
    const int peak = findPeak(spectrum_.data(), floorBin_, K - 1);
    if (peak < 0 || !isTone(peak))
        return false;
    position = measure(peak);
    return true;
}

double ToneTracker::measure(int peak) const
{
    const int K = run_.bins();
    if (peak >= K - 1)
        return K - 1;  // the top bin has no neighbour above: no interpolation
    return localCentroid(spectrum_.data(), peak, measureRadius(), 1, K - 1);
}

bool ToneTracker::isTone(int peak) const
{
    return standsOut(spectrum_.data(), peak, 4 * measureRadius(), 1, run_.bins() - 1, kPeakContrast);
}

double ToneTracker::predictiveEstimate(TrackerRunState& state, bool& accepted) const
{
    const int K = run_.bins();
    const double h0 = state.history[0];
    const double h1 = state.history[1];
    const double h2 = state.history[2];
    const double bs = lastSimpleBin_;

    // The parabola through the last three frequencies, one frame ahead.
    double predicted = h0 - 3.0 * h1 + 3.0 * h2;
    if (predicted < 10.0 || predicted > sampleRate_ / 2.0)
        predicted = (hz(bs) + predicted) / 2.0;
    const double pb = std::max(1.0, std::min<double>(K - 1, bin(predicted)));

    PredictionBand band(pb, run_.marginPercent, 1, K - 1);
    // Near the position the simple path found, and until the track has settled
    // there, that position is notched out, but never where the notch would sit
    // on the predicted tone itself.
    const double notchRadius = bin(kNotchRadius);
    const double fromSimple = std::fabs(pb - bs);
    if (fromSimple < bin(kNotchReach) && state.nearCount < kNearFrames && fromSimple >= notchRadius)
        band.addNotch(bs, notchRadius);

    double position = -1.0;
    const double cg = band.centroid(spectrum_.data());
    if (cg > 0.0) {
        const int start = std::max(band.first(), std::min(band.last(), roundHalfUp(cg)));
        const int peak = climbToPeak(spectrum_.data(), start, band.first(), band.last());
        const double measured = measure(peak);
        if (isTone(peak) && std::fabs(hz(measured) - h2) < kMaxFrameStep)
            position = measured;
    }
    accepted = position >= 0.0;
    if (!accepted)
        position = bin(h2);  // rejected or nothing found: hold

    if (std::fabs(position - bs) < bin(kNearDistance))
        state.nearCount = std::min(state.nearCount + 1, kNearFrames);
    else
        state.nearCount = 0;
    return hz(position);
}

void ToneTracker::fillHop(double frequency)
{
    const int n = run_.hop();
    const double step = (frequency - prevFrequency_) / n;
    for (int j = 0; j < n; ++j)
        hopBuffer_[j] = static_cast<float>((prevFrequency_ + step * j) / refFrequency_);
    prevFrequency_ = frequency;
}

}  // namespace wowfix
