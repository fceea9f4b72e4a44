#include "detectors/PreciseSpeedSolver.h"

#include "detectors/JointSpeed.h"
#include "detectors/PreciseVibratoCheck.h"
#include "detectors/RobustStatistics.h"

#include <algorithm>
#include <cmath>

namespace wowfix {

namespace {
constexpr std::uint32_t kEdgeFrames = 2;  // stop frames left out (the onset ones are never kept)
constexpr int kSettleFrames = 2;          // frames before a reference is trusted in the first estimate
constexpr double kFullAge = 24.0;         // ... and frames until it has full weight there
constexpr float kMinConfidence = 0.25f;
constexpr double kMinScale = 2e-5;        // measurement scale below which nothing is set aside
constexpr double kBisquare = 4.685;
constexpr double kTapeQuantile = 0.3;
constexpr double kSwingFloor = 2.5e-4;    // a swing this small is never taken for vibrato
constexpr double kDeviationFloor = 5e-5;  // nor a deviation from the joint speed this small
constexpr double kLimitRatio = 3.0;
constexpr int kRounds = 3;
constexpr int kSweeps = 6;
constexpr double kConverged = 1e-8;

// The value below which `share` of the weight lies; 0 for none. Reorders.
double weightedQuantile(std::vector<WeightedValue>& items, double share)
{
    double total = 0.0;
    for (const WeightedValue& item : items)
        total += std::max(0.0, item.weight);
    std::sort(items.begin(), items.end(), [](const WeightedValue& a, const WeightedValue& b) { return a.value < b.value; });
    double below = 0.0;
    for (const WeightedValue& item : items) {
        below += std::max(0.0, item.weight);
        if (below >= share * total && below > 0.0)
            return item.value;
    }
    return 0.0;
}

double bisquare(double q)
{
    if (!(std::fabs(q) < 1.0))
        return 0.0;
    const double t = 1.0 - q * q;
    return t * t;
}

double rms(const std::vector<double>& values)
{
    double n = 0.0, sum = 0.0;
    for (double v : values)
        if (std::isfinite(v)) {
            n += 1.0;
            sum += v * v;
        }
    return n > 0.0 ? std::sqrt(sum / n) : 0.0;
}
}  // namespace

bool PreciseSpeedSolver::usable(const PreciseObservation& o, std::size_t frame) const
{
    return frame + kEdgeFrames <= obs_->tracks()[o.track].last;
}

void PreciseSpeedSolver::solve(const PreciseObservations& observations, double frameRate)
{
    obs_ = &observations;
    frameRate_ = frameRate;
    const std::size_t tracks = observations.tracks().size();
    x_.assign(observations.frameCount(), NAN);
    confidence_.assign(observations.frameCount(), 0.0f);
    a_.assign(tracks, NAN);
    u_.assign(observations.size(), 0.0f);
    checkVibrato();
    seed();
    for (int round = 0; round < kRounds; ++round) {
        checkDeviations();
        reweight();
        startSums();
        for (int s = 0; s < kSweeps; ++s)
            if (sweep(s % 2 == 0) < kConverged)
                break;
    }
    rate();
}

template <typename Value>
std::vector<std::vector<double>> PreciseSpeedSolver::series(Value value) const
{
    const PreciseObservations& obs = *obs_;
    std::vector<std::vector<double>> out(obs.tracks().size());
    for (std::size_t j = 0; j < out.size(); ++j) {
        const PreciseTrackSpan& span = obs.tracks()[j];
        if (span.count > 0)
            out[j].assign(span.last - span.first + 1, NAN);
    }
    for (std::size_t t = 0; t < obs.frameCount(); ++t)
        for (const PreciseObservation* o = obs.frameBegin(t); o != obs.frameEnd(t); ++o)
            if (usable(*o, t))
                out[o->track][t - obs.tracks()[o->track].first] = value(*o, t);
    return out;
}

void PreciseSpeedSolver::checkVibrato()
{
    // Each partial's own log frequency: the tape's swing and, for a singing
    // voice, its vibrato on top.
    auto own = series([](const PreciseObservation& o, std::size_t) { return static_cast<double>(o.offset); });
    const double step = frameRate_ > 0.0 ? 1.0 / frameRate_ : 0.0;
    std::vector<double> depth(own.size(), 0.0);
    std::vector<WeightedValue> depths;
    for (std::size_t j = 0; j < own.size(); ++j) {
        if (own[j].empty())
            continue;
        depth[j] = periodicDeviation(own[j], step);
        depths.push_back({depth[j], static_cast<double>(obs_->tracks()[j].count)});
        std::vector<double>().swap(own[j]);
    }
    // The tape's swing is common to every partial, so the steadiest share of
    // them shows it; vibrato and poorly measured partials only add to it.
    tapeSwing_ = weightedQuantile(depths, kTapeQuantile);
    const double limit = std::max(kSwingFloor, kLimitRatio * tapeSwing_);
    ownWeight_.assign(own.size(), 0.0);
    for (std::size_t j = 0; j < own.size(); ++j)
        if (obs_->tracks()[j].count > 0)
            ownWeight_[j] = steadinessWeight(depth[j], limit);
    trackWeight_ = ownWeight_;
}

void PreciseSpeedSolver::checkDeviations()
{
    // What is left of each partial once the joint speed and its reference
    // are taken out: a swing at the vibrato rate, or any other wandering (two
    // partials of different voices too close to be told apart beat, a
    // partial linked to the wrong track jumps).
    const PreciseObservations& obs = *obs_;
    auto residual = series([&](const PreciseObservation& o, std::size_t t) {
        return std::isfinite(x_[t]) && std::isfinite(a_[o.track]) ? obs.logFrequency(o) - a_[o.track] - x_[t] : NAN;
    });
    const double step = frameRate_ > 0.0 ? 1.0 / frameRate_ : 0.0;
    std::vector<double> depth(residual.size(), 0.0);
    std::vector<WeightedValue> depths;
    for (std::size_t j = 0; j < residual.size(); ++j) {
        if (residual[j].empty())
            continue;
        depth[j] = std::max(periodicDeviation(residual[j], step), std::sqrt(2.0) * rms(residual[j]));
        depths.push_back({depth[j], static_cast<double>(obs.tracks()[j].count) * ownWeight_[j]});
        std::vector<double>().swap(residual[j]);
    }
    double typical = 0.0;
    weightedMedian(depths, typical);
    const double limit = std::max(kDeviationFloor, kLimitRatio * typical);
    for (std::size_t j = 0; j < residual.size(); ++j)
        trackWeight_[j] = ownWeight_[j] * (depth[j] > 0.0 ? steadinessWeight(depth[j], limit) : 1.0);
}

void PreciseSpeedSolver::seed()
{
    const PreciseObservations& obs = *obs_;
    std::vector<double> sum(a_.size(), 0.0);
    std::vector<int> count(a_.size(), 0);
    std::vector<WeightedValue> votes;
    double held = 0.0;
    for (std::size_t t = 0; t < obs.frameCount(); ++t) {
        votes.clear();
        double all = 0.0, steady = 0.0;
        bool any = false;
        for (const PreciseObservation* o = obs.frameBegin(t); o != obs.frameEnd(t); ++o) {
            if (!usable(*o, t))
                continue;
            any = true;
            const int n = count[o->track];
            if (n < kSettleFrames)
                continue;
            const double w = o->weight * std::min(1.0, n / kFullAge);
            all += w;
            steady += w * trackWeight_[o->track];
            votes.push_back({obs.logFrequency(*o) - sum[o->track] / n, w * trackWeight_[o->track]});
        }
        if (!any)
            continue;
        if (all > 0.0 && steady >= kMinConfidence * all) {
            double x = held, confidence = 0.0;
            if (!jointSpeed(votes, x, confidence) || confidence < kMinConfidence)
                continue;  // the steady partials disagree: nothing is learnt here
            held = x;
        }
        // Otherwise nothing steady sounding knows the speed: the frame keeps
        // the last speed known and the new notes start from it, or the run
        // would never get going.
        x_[t] = held;
        for (const PreciseObservation* o = obs.frameBegin(t); o != obs.frameEnd(t); ++o) {
            if (!usable(*o, t))
                continue;
            sum[o->track] += obs.logFrequency(*o) - held;
            ++count[o->track];
        }
    }
    for (std::size_t j = 0; j < a_.size(); ++j)
        if (count[j] > 0)
            a_[j] = sum[j] / count[j];
}

void PreciseSpeedSolver::reweight()
{
    // Within each frame: the bisquare on the deviations from their median.
    const PreciseObservations& obs = *obs_;
    std::vector<WeightedValue> items;
    for (std::size_t t = 0; t < obs.frameCount(); ++t) {
        items.clear();
        const PreciseObservation* begin = obs.frameBegin(t);
        const PreciseObservation* end = obs.frameEnd(t);
        for (const PreciseObservation* o = begin; o != end; ++o)
            u_[obs.indexOf(o)] = 0.0f;
        if (!std::isfinite(x_[t]))
            continue;
        const auto counts = [&](const PreciseObservation& o) {
            return usable(o, t) && std::isfinite(a_[o.track]) && o.weight * trackWeight_[o.track] > 0.0;
        };
        for (const PreciseObservation* o = begin; o != end; ++o)
            if (counts(*o))
                items.push_back({obs.logFrequency(*o) - a_[o->track] - x_[t], o->weight * trackWeight_[o->track]});
        double centre = 0.0;
        if (!weightedMedian(items, centre))
            continue;
        for (WeightedValue& item : items)
            item.value = std::fabs(item.value - centre);
        double spread = 0.0;
        weightedMedian(items, spread);
        const double scale = kBisquare * std::max(1.4826 * spread, kMinScale);
        for (const PreciseObservation* o = begin; o != end; ++o) {
            if (!counts(*o))
                continue;
            const double r = obs.logFrequency(*o) - a_[o->track] - x_[t] - centre;
            u_[obs.indexOf(o)] = static_cast<float>(o->weight * trackWeight_[o->track] * bisquare(r / scale));
        }
    }
}

void PreciseSpeedSolver::startSums()
{
    const PreciseObservations& obs = *obs_;
    sum_.assign(a_.size(), 0.0);
    total_.assign(a_.size(), 0.0);
    for (std::size_t t = 0; t < obs.frameCount(); ++t) {
        if (!std::isfinite(x_[t]))
            continue;
        for (const PreciseObservation* o = obs.frameBegin(t); o != obs.frameEnd(t); ++o) {
            const double u = u_[obs.indexOf(o)];
            sum_[o->track] += u * (obs.logFrequency(*o) - x_[t]);
            total_[o->track] += u;
        }
    }
}

double PreciseSpeedSolver::sweep(bool forward)
{
    // Gauss-Seidel on the weighted least squares: x_t from the references as
    // they stand, then every reference of the frame follows the new x_t.
    const PreciseObservations& obs = *obs_;
    const std::size_t frames = obs.frameCount();
    double largest = 0.0;
    for (std::size_t k = 0; k < frames; ++k) {
        const std::size_t t = forward ? k : frames - 1 - k;
        if (!std::isfinite(x_[t]))
            continue;
        double num = 0.0, den = 0.0;
        for (const PreciseObservation* o = obs.frameBegin(t); o != obs.frameEnd(t); ++o) {
            const double u = u_[obs.indexOf(o)];
            if (u > 0.0) {
                num += u * (obs.logFrequency(*o) - sum_[o->track] / total_[o->track]);
                den += u;
            }
        }
        if (!(den > 0.0))
            continue;
        const double delta = num / den - x_[t];
        x_[t] += delta;
        largest = std::max(largest, std::fabs(delta));
        for (const PreciseObservation* o = obs.frameBegin(t); o != obs.frameEnd(t); ++o)
            sum_[o->track] -= u_[obs.indexOf(o)] * delta;
    }
    for (std::size_t j = 0; j < a_.size(); ++j)
        if (total_[j] > 0.0)
            a_[j] = sum_[j] / total_[j];
    return largest;
}

void PreciseSpeedSolver::rate()
{
    const PreciseObservations& obs = *obs_;
    for (std::size_t t = 0; t < obs.frameCount(); ++t) {
        if (!std::isfinite(x_[t]))
            continue;
        double all = 0.0, counted = 0.0;
        int partials = 0;
        for (const PreciseObservation* o = obs.frameBegin(t); o != obs.frameEnd(t); ++o) {
            if (!usable(*o, t))
                continue;
            all += o->weight;
            const double u = u_[obs.indexOf(o)];
            counted += u;
            if (u > 0.5 * o->weight)
                ++partials;
        }
        const double confidence = all > 0.0 ? counted / all * std::min(1.0, partials / 3.0) : 0.0;
        confidence_[t] = static_cast<float>(confidence);
        if (!(confidence >= kMinConfidence))
            x_[t] = NAN;
    }
}

}  // namespace wowfix
