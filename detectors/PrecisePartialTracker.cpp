#include "detectors/PrecisePartialTracker.h"

#include <algorithm>
#include <cmath>

namespace wowfix {

namespace {
constexpr int kSettleFrames = 2;      // steady frames before a track votes
constexpr double kFullAge = 24.0;     // steady frames until a track's vote has full weight
constexpr float kMinConfidence = 0.25f;
constexpr int kFrameSpan = 2;         // frames after an onset before a track learns
}

PrecisePartialTracker::PrecisePartialTracker(double sampleRate) : sampleRate_(sampleRate)
{
    for (int i = 0; i < PartialTrackerSettings::paramCount; ++i)
        params_[i].store(PartialTrackerSettings::defaultValue(i));
}

float PrecisePartialTracker::getParameter(int index) const
{
    return isParameterIndex(index) ? params_[index].load() : 0.0f;
}

bool PrecisePartialTracker::setParameter(int index, float value)
{
    float stored = 0.0f;
    if (isParameterIndex(index) && normalisedValue(value, stored))
        params_[index].store(stored);
    return true;
}

float PrecisePartialTracker::getParameterDisplayValue(int index) const
{
    return isParameterIndex(index) ? PartialTrackerSettings::displayValue(index, params_[index].load()) : 0.0f;
}

const char* PrecisePartialTracker::parameterName(int index) const { return PartialTrackerSettings::name(index); }
const char* PrecisePartialTracker::parameterLabel(int index) const { return PartialTrackerSettings::label(index); }

void PrecisePartialTracker::setArea(double from, double to, double low, double high)
{
    const bool usable = std::isfinite(from) && std::isfinite(to) && to > from;
    areaFrom_ = usable ? from : 0.0;
    areaTo_ = usable ? to : 0.0;
    const bool band = std::isfinite(low) && std::isfinite(high) && low > 0.0 && high > low;
    areaLow_ = band ? low : 0.0;
    areaHigh_ = band ? high : 0.0;
}

bool PrecisePartialTracker::inArea(double position) const
{
    return !(areaTo_ > areaFrom_) || (position >= areaFrom_ && position < areaTo_);
}

bool PrecisePartialTracker::fail(const std::string& why)
{
    message_ = why;
    return false;
}

bool PrecisePartialTracker::startRun()
{
    float v[PartialTrackerSettings::paramCount];
    for (int i = 0; i < PartialTrackerSettings::paramCount; ++i)
        v[i] = params_[i].load();
    run_ = PartialTrackerSettings::fromNormalised(v);
    running_ = finished_ = false;
    tracks_.clear();
    pending_.clear();
    frameStart_ = 0;
    speed_ = 1.0;
    reference_ = 1.0;
    bridged_ = 0;
    message_.clear();
    const double lowest = areaHigh_ > 0.0 ? areaLow_ : run_.lowest;
    const double highest = std::min(areaHigh_ > 0.0 ? areaHigh_ : run_.highest, 0.45 * sampleRate_);
    if (!(sampleRate_ > 0.0) || !analyser_.configure(run_.fftLength, sampleRate_, lowest, highest))
        return fail("The frequency band of the partial tracker is empty at this sampling frequency.");
    track_.reset(0.5 * run_.fftLength, run_.hop(), 1.0);
    running_ = true;
    return true;
}

void PrecisePartialTracker::expectFrames(long long frames)
{
    if (running_ && frames > 0)
        track_.reserve(static_cast<std::size_t>(frames / run_.hop() + 1));
}

bool PrecisePartialTracker::process(const float* samples, int count)
{
    if (!running_)
        return fail(message_.empty() ? "The partial tracker has no run in progress." : message_);
    if (samples == nullptr || count < 0)
        return fail("No samples were given to the partial tracker.");
    const std::size_t frame = static_cast<std::size_t>(run_.fftLength) + 1;
    const std::size_t hop = static_cast<std::size_t>(run_.hop());
    for (int i = 0; i < count; ++i) {
        const float x = samples[i];
        pending_.push_back(std::isfinite(x) ? std::clamp(x, -1e6f, 1e6f) : 0.0f);
        if (pending_.size() == frame) {
            analyseFrame();
            pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(hop));
            frameStart_ += static_cast<long long>(hop);
        }
    }
    return true;
}

void PrecisePartialTracker::analyseFrame()
{
    const double position = static_cast<double>(frameStart_) + 0.5 * run_.fftLength;
    if (!inArea(position)) {
        tracks_.clear();
        track_.push(NAN, 0.0f);
        return;
    }
    analyser_.analyse(pending_.data(), partials_);
    tracks_.link(partials_);
    votes_.clear();
    for (const PartialTrack& t : tracks_.tracks()) {
        const double nominal = t.nominal();
        if (!t.steady || t.age <= kFrameSpan || t.nominalCount < kSettleFrames || !(nominal > 0.0))
            continue;
        const double weight = std::sqrt(t.magnitude) * std::min(1.0, t.nominalCount / kFullAge);
        votes_.push_back({t.frequency / nominal, weight});
    }
    double speed = speed_;
    double confidence = 0.0;
    if (!votes_.empty() && jointSpeed(votes_, speed, confidence) && confidence >= kMinConfidence) {
        speed_ = speed;
        track_.push(speed, static_cast<float>(confidence));
        tracks_.learn(speed_, kFrameSpan);
    } else {
        track_.push(NAN, 0.0f);
        // Nothing sounding knows the speed: the new notes start from the
        // last speed known, or the run would never get going.
        if (votes_.empty())
            tracks_.learn(speed_, kFrameSpan);
    }
}

bool PrecisePartialTracker::finishRun()
{
    finished_ = false;
    if (!running_)
        return fail(message_.empty() ? "The partial tracker has no run in progress." : message_);
    running_ = false;
    if (track_.size() < 2)
        return fail("The selection is too short for the partial tracker.");
    bridged_ = track_.bridgeGaps();
    if (bridged_ < 0)
        return fail("No steady partials were found.");
    track_.smooth(run_.curveBandwidth, sampleRate_);
    reference_ = track_.medianValue(1);
    if (!(reference_ > 0.0))
        return fail("No steady partials were found.");
    finished_ = true;
    return true;
}

double PrecisePartialTracker::ratioAt(double position) const
{
    if (!finished_ || !inArea(position))
        return 1.0;
    return track_.valueAt(position, reference_) / reference_;
}

bool PrecisePartialTracker::bridgedAt(double position) const { return finished_ && track_.bridgedAt(position); }

double PrecisePartialTracker::confidenceAt(double position) const
{
    if (!finished_ || track_.size() == 0)
        return 0.0;
    const double u = std::round((position - track_.first()) / track_.step());
    const std::size_t i = u <= 0.0 ? 0 : std::min(track_.size() - 1, static_cast<std::size_t>(u));
    return track_.weight(i);
}

}  // namespace wowfix
