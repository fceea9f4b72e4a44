#include "detectors/PrecisePartialTracker.h"

#include "detectors/PreciseSpeedSolver.h"

#include <algorithm>
#include <cmath>

namespace wowfix {

namespace {
constexpr int kOnsetFrames = 2;     // frames after an onset that are not kept
constexpr double kLevelStep = 0.1;  // level change per frame (ln) that halves the weight

// The square root of the partial's level, less while its level changes: a
// level that rises or falls within the frame (an attack, a release) pulls
// the frequency measured from the phase advance towards the bin's centre.
double observationWeight(const PartialTrack& t)
{
    const double q = t.levelStep / kLevelStep;
    return std::sqrt(t.magnitude) / (1.0 + q * q);
}
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
    tracks_.restart();
    observations_.clear();
    pending_.clear();
    frameStart_ = 0;
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
    {
        track_.reserve(static_cast<std::size_t>(frames / run_.hop() + 1));
        observations_.reserveFrames(static_cast<std::size_t>(frames / run_.hop() + 1));
    }
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
    observations_.beginFrame();
    const double position = static_cast<double>(frameStart_) + 0.5 * run_.fftLength;
    if (!inArea(position)) {
        tracks_.clear();
        return;
    }
    analyser_.analyse(pending_.data(), partials_);
    tracks_.link(partials_);
    for (const PartialTrack& t : tracks_.tracks())
        if (t.steady && t.age > kOnsetFrames)
            observations_.add(t.id, t.frequency, observationWeight(t));
}

bool PrecisePartialTracker::finishRun()
{
    finished_ = false;
    if (!running_)
        return fail(message_.empty() ? "The partial tracker has no run in progress." : message_);
    running_ = false;
    if (observations_.frameCount() < 2)
        return fail("The selection is too short for the partial tracker.");
    PreciseSpeedSolver solver;
    solver.solve(observations_, sampleRate_ / run_.hop());
    for (std::size_t t = 0; t < observations_.frameCount(); ++t)
        track_.push(std::exp(solver.logSpeed()[t]), solver.confidence()[t]);
    observations_ = PreciseObservations();
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
