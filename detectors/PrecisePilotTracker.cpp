#include "detectors/PrecisePilotTracker.h"

#include "detectors/ToneTracker.h"

#include <cmath>

namespace wowfix {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr std::size_t kMedianStride = 4;
constexpr int kOutlierRadius = 2;
constexpr double kOutlierFraction = 0.001;  // of the pilot frequency
}

PrecisePilotTracker::PrecisePilotTracker(double sampleRate)
    : sampleRate_(sampleRate), finder_(sampleRate, ToneTracker::searchFloorFor(sampleRate))
{
    for (int i = 0; i < PrecisePilotSettings::paramCount; ++i)
        params_[i].store(PrecisePilotSettings::defaultValue(i));
}

float PrecisePilotTracker::getParameter(int index) const
{
    return isParameterIndex(index) ? params_[index].load() : 0.0f;
}

bool PrecisePilotTracker::setParameter(int index, float value)
{
    float stored = 0.0f;
    if (isParameterIndex(index) && normalisedValue(value, stored))
        params_[index].store(stored);
    return true;
}

float PrecisePilotTracker::getParameterDisplayValue(int index) const
{
    return isParameterIndex(index) ? PrecisePilotSettings::displayValue(index, params_[index].load()) : 0.0f;
}

const char* PrecisePilotTracker::parameterName(int index) const { return PrecisePilotSettings::name(index); }
const char* PrecisePilotTracker::parameterLabel(int index) const { return PrecisePilotSettings::label(index); }

bool PrecisePilotTracker::fail(const std::string& why)
{
    message_ = why;
    return false;
}

bool PrecisePilotTracker::startRun()
{
    float v[PrecisePilotSettings::paramCount];
    for (int i = 0; i < PrecisePilotSettings::paramCount; ++i)
        v[i] = params_[i].load();
    run_ = PrecisePilotSettings::fromNormalised(v);
    finder_.reset();
    demodulator_ = BasebandDemodulator();
    track_.reset(0.0, 1.0, 0.0);
    havePrevious_ = tracking_ = finished_ = false;
    reference_ = 0.0;
    bridged_ = 0;
    message_.clear();
    if (!ToneTracker::supportsSampleRate(sampleRate_))
        return fail("The sampling frequency is too low for a pilot tone.");
    if (run_.pilotFrequency > 0.0 && run_.pilotFrequency + run_.halfBandwidth >= 0.5 * sampleRate_)
        return fail("The pilot frequency and its band do not fit below half the sampling frequency.");
    return true;
}

void PrecisePilotTracker::expectFrames(long long frames) { expected_ = frames > 0 ? frames : 0; }

void PrecisePilotTracker::offerSearchSamples(const float* samples, int count)
{
    if (samples != nullptr && count > 0 && !tracking_)
        finder_.offer(samples, count);
}

bool PrecisePilotTracker::beginTracking()
{
    double centre = run_.pilotFrequency;
    if (!(centre > 0.0) && !finder_.find(centre))
        return fail("No pilot tone was found above " +
                    std::to_string(static_cast<int>(ToneTracker::searchFloorFor(sampleRate_))) + " Hz.");
    // The band stays clear of fs / 2.
    const double room = 0.5 * sampleRate_ - centre;
    const double half = std::min(run_.halfBandwidth, 0.9 * room);
    if (!demodulator_.configure(sampleRate_, centre, half))
        return fail("The pilot lies too close to half the sampling frequency.");
    const double step = demodulator_.decimation();
    track_.reset(0.5 * step + demodulator_.delay(), step, centre);
    if (expected_ > 0)
        track_.reserve(static_cast<std::size_t>(expected_ / demodulator_.decimation() + 1));
    tracking_ = true;
    return true;
}

bool PrecisePilotTracker::process(const float* samples, int count)
{
    if (samples == nullptr || count < 0)
        return fail("No samples were given to the pilot tracker.");
    if (!tracking_ && !beginTracking())
        return false;
    const double toHz = sampleRate_ / (2.0 * kPi * demodulator_.decimation());
    const double centre = demodulator_.centre();
    std::complex<double> y;
    for (int i = 0; i < count; ++i) {
        const float x = samples[i];
        if (!demodulator_.push(std::isfinite(x) ? x : 0.0, y))
            continue;
        if (havePrevious_) {
            const std::complex<double> turn = y * std::conj(previous_);
            const double level = std::sqrt(std::min(std::norm(y), std::norm(previous_)));
            track_.push(centre + std::arg(turn) * toHz, static_cast<float>(level));
        }
        previous_ = y;
        havePrevious_ = true;
    }
    return true;
}

bool PrecisePilotTracker::finishRun()
{
    finished_ = false;
    if (!tracking_)
        return fail(message_.empty() ? "The pilot tracker has not been given the run." : message_);
    if (track_.size() < 2)
        return fail("The selection is too short for the precise pilot tracker.");
    const double median = track_.medianWeight(kMedianStride);
    if (!(median > 0.0))
        return fail("No pilot tone was found.");
    const int margin = demodulator_.taps() / demodulator_.decimation() + 1;
    track_.markWeak(median * std::pow(10.0, run_.dropoutDb / 20.0), margin);
    track_.replaceOutliers(kOutlierRadius, kOutlierFraction * demodulator_.centre());
    bridged_ = track_.bridgeGaps();
    if (bridged_ < 0)
        return fail("No pilot tone was found.");
    track_.smooth(run_.curveBandwidth, sampleRate_);
    reference_ = run_.pilotFrequency > 0.0 ? run_.pilotFrequency : track_.medianValue(kMedianStride);
    if (!(reference_ > 0.0))
        return fail("No pilot tone was found.");
    finished_ = true;
    return true;
}

double PrecisePilotTracker::ratioAt(double position) const
{
    return finished_ ? track_.valueAt(position, reference_) / reference_ : 1.0;
}

bool PrecisePilotTracker::bridgedAt(double position) const { return finished_ && track_.bridgedAt(position); }

}  // namespace wowfix
