#include "detectors/PreciseSpeedSolver.h"

#include "detectors/CoarseSpeedSystem.h"
#include "detectors/JointSpeed.h"
#include "detectors/PreciseTuningAnchor.h"
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
constexpr double kAgreement = 3.0;        // a frame's scale is at most this many times the run's typical one
constexpr std::size_t kAgreementSample = std::size_t(1) << 18;  // observations it is judged from at most
constexpr double kFewPartials = 3.0;      // fewer partials than this (counted by weight) weigh less in a frame
constexpr double kTapeQuantile = 0.3;
constexpr double kSwingFloor = 2.5e-4;    // a swing this small is never taken for vibrato
constexpr double kDeviationFloor = 5e-5;  // nor a deviation from the joint speed this small
constexpr double kLimitRatio = 3.0;
constexpr int kRounds = 6;
constexpr int kSweeps = 6;
constexpr double kConverged = 1e-8;
constexpr int kPriorOrder = 32;           // frames the speed is predicted from
constexpr double kPriorStrength = 30.0;   // the prior's weight against what it is worth
constexpr std::size_t kCoarseSpacing = 64;  // frames between the nodes of the coarse grid
constexpr int kMaxIterations = 300;
constexpr double kResidualShare = 1e-6;

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

void withoutMean(std::vector<double>& values)
{
    double mean = 0.0;
    for (double v : values)
        mean += v;
    mean /= static_cast<double>(std::max<std::size_t>(1, values.size()));
    for (double& v : values)
        v -= mean;
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
    few_.assign(observations.frameCount(), 1.0f);
    checkVibrato();
    seed();
    filter_.clear();
    lambda_ = 0.0;
    for (int round = 0; round < kRounds; ++round) {
        checkDeviations();
        reweight();
        // The first round's speed, solved without the prior, is what the
        // prior learns from; without one (a short run) the sweeps go on.
        if (round == 1)
            fitPrior();
        if (round > 0 && lambda_ > 0.0) {
            solveJointly();
        } else {
            startSums();
            for (int s = 0; s < kSweeps; ++s)
                if (sweep(s % 2 == 0) < kConverged)
                    break;
        }
    }
    rate();
    // The level of the speed, where hand-overs left it off, from the music's
    // tuning.
    anchorToTuning(observations, a_, trackWeight_, frameRate, x_);
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
    // How closely the partials agree with the joint speed over the whole
    // run. A frame whose partials disagree among themselves (half of them a
    // singing voice, or beating pairs) would otherwise take its own wide
    // spread as the scale and keep them all.
    // (From every frame up to about 2^18 observations, every few frames
    // beyond, so that a long run needs no more memory for it.)
    double agreement = INFINITY;
    const std::size_t stride = 1 + obs.size() / kAgreementSample;
    items.reserve(obs.size() / stride + 1);
    for (std::size_t t = 0; t < obs.frameCount(); t += stride) {
        if (!std::isfinite(x_[t]))
            continue;
        for (const PreciseObservation* o = obs.frameBegin(t); o != obs.frameEnd(t); ++o)
            if (usable(*o, t) && std::isfinite(a_[o->track]) && o->weight * trackWeight_[o->track] > 0.0)
                items.push_back({std::fabs(obs.logFrequency(*o) - a_[o->track] - x_[t]), o->weight * trackWeight_[o->track]});
    }
    double typical = 0.0;
    if (weightedMedian(items, typical))
        agreement = kAgreement * 1.4826 * typical;
    std::vector<WeightedValue>().swap(items);
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
        const double scale = kBisquare * std::max(std::min(1.4826 * spread, agreement), kMinScale);
        for (const PreciseObservation* o = begin; o != end; ++o) {
            if (!counts(*o))
                continue;
            const double r = obs.logFrequency(*o) - a_[o->track] - x_[t] - centre;
            u_[obs.indexOf(o)] = static_cast<float>(o->weight * trackWeight_[o->track] * bisquare(r / scale));
        }
        // A frame held by one or two partials cannot check them against
        // each other (a lone partial sets the speed to its own and always
        // agrees): it weighs less, by the square of the partials it has
        // against kFewPartials, counted by weight (sum^2 / sum of squares),
        // and the prior carries the speed more there.
        double sum = 0.0, squares = 0.0;
        for (const PreciseObservation* o = begin; o != end; ++o) {
            const double u = u_[obs.indexOf(o)];
            sum += u;
            squares += u * u;
        }
        const double partials = squares > 0.0 ? sum * sum / squares : 0.0;
        few_[t] = 1.0f;
        if (partials < kFewPartials && partials > 0.0) {
            const double share = partials / kFewPartials;
            few_[t] = static_cast<float>(share * share);
            for (const PreciseObservation* o = begin; o != end; ++o)
                u_[obs.indexOf(o)] *= few_[t];
        }
    }
}

void PreciseSpeedSolver::applyNormal(const std::vector<double>& v, std::vector<double>& out)
{
    // H v: over each frame's partials the sum of u (v_t - the mean of v over
    // the partial's life, weighted by u), plus lambda (A'A v)_t, A the
    // prediction-error filter.
    const PreciseObservations& obs = *obs_;
    const std::size_t n = v.size();
    std::fill(trackMean_.begin(), trackMean_.end(), 0.0);
    for (std::size_t t = 0; t < n; ++t)
        for (const PreciseObservation* o = obs.frameBegin(t); o != obs.frameEnd(t); ++o)
            trackMean_[o->track] += u_[obs.indexOf(o)] * v[t];
    for (std::size_t t = 0; t < n; ++t) {
        double sum = 0.0;
        for (const PreciseObservation* o = obs.frameBegin(t); o != obs.frameEnd(t); ++o) {
            const double u = u_[obs.indexOf(o)];
            if (u > 0.0)
                sum += u * (v[t] - trackMean_[o->track] / total_[o->track]);
        }
        out[t] = sum;
    }
    const std::size_t order = filter_.size();
    if (order < 2 || n < order || !(lambda_ > 0.0))
        return;
    for (std::size_t s = order - 1; s < n; ++s) {
        double e = 0.0;
        for (std::size_t k = 0; k < order; ++k)
            e += filter_[k] * v[s - k];
        e *= lambda_;
        for (std::size_t k = 0; k < order; ++k)
            out[s - k] += filter_[k] * e;
    }
}

bool PreciseSpeedSolver::fitPrior()
{
    // How the speed found so far goes on from one frame to the next: the
    // least-squares linear prediction of x_t from the `order` frames before
    // it, over every stretch where all of them are known. The tape's wow and
    // flutter are a few slow swings, which such a filter predicts closely,
    // while a step where the speed is handed from one group of notes to the
    // next is not predicted at all.
    const std::size_t p = static_cast<std::size_t>(kPriorOrder);
    const std::size_t frames = x_.size();
    filter_.clear();
    lambda_ = 0.0;
    if (p == 0 || frames < 4 * p)
        return false;
    // Second differences first: a constant and a ramp (a steady drift) cost
    // nothing, and the prediction works on what is left.
    std::vector<double> d(frames, NAN);
    const PreciseObservations& obs = *obs_;
    std::vector<char> measured(frames, 0);
    for (std::size_t t = 0; t < frames; ++t)
        for (const PreciseObservation* o = obs.frameBegin(t); o != obs.frameEnd(t); ++o)
            if (u_[obs.indexOf(o)] > 0.0f)
                measured[t] = 1;
    for (std::size_t t = 2; t < frames; ++t)
        if (measured[t] && measured[t - 1] && measured[t - 2])
            d[t] = x_[t] - 2.0 * x_[t - 1] + x_[t - 2];
    std::vector<double> m((p + 1) * (p + 1), 0.0);
    std::size_t rows = 0;
    for (std::size_t t = p; t < frames; ++t) {
        bool all = true;
        for (std::size_t k = 0; k <= p && all; ++k)
            all = std::isfinite(d[t - k]);
        if (!all)
            continue;
        ++rows;
        for (std::size_t i = 0; i <= p; ++i)
            for (std::size_t j = 0; j <= p; ++j)
                m[i * (p + 1) + j] += d[t - i] * d[t - j];
    }
    if (rows < 4 * p)
        return false;
    // Normal equations R phi = r with R_ij = m[i][j], r_i = m[i][0] (i, j >= 1).
    std::vector<double> R(p * p), r(p);
    double trace = 0.0;
    for (std::size_t i = 0; i < p; ++i) {
        for (std::size_t j = 0; j < p; ++j)
            R[i * p + j] = m[(i + 1) * (p + 1) + j + 1];
        r[i] = m[(i + 1) * (p + 1)];
        trace += R[i * p + i];
    }
    for (std::size_t i = 0; i < p; ++i)
        R[i * p + i] += 1e-9 * trace / static_cast<double>(p);
    // Gaussian elimination with partial pivoting.
    for (std::size_t c = 0; c < p; ++c) {
        std::size_t pivot = c;
        for (std::size_t i = c + 1; i < p; ++i)
            if (std::fabs(R[i * p + c]) > std::fabs(R[pivot * p + c]))
                pivot = i;
        if (!(std::fabs(R[pivot * p + c]) > 0.0))
            return false;
        if (pivot != c) {
            for (std::size_t j = 0; j < p; ++j)
                std::swap(R[c * p + j], R[pivot * p + j]);
            std::swap(r[c], r[pivot]);
        }
        for (std::size_t i = c + 1; i < p; ++i) {
            const double f = R[i * p + c] / R[c * p + c];
            for (std::size_t j = c; j < p; ++j)
                R[i * p + j] -= f * R[c * p + j];
            r[i] -= f * r[c];
        }
    }
    std::vector<double> phi(p);
    for (std::size_t c = p; c-- > 0;) {
        double v = r[c];
        for (std::size_t j = c + 1; j < p; ++j)
            v -= R[c * p + j] * phi[j];
        phi[c] = v / R[c * p + c];
    }
    if (!std::all_of(phi.begin(), phi.end(), [](double v) { return std::isfinite(v); }))
        return false;
    std::vector<double> own(p + 1, 1.0);
    for (std::size_t k = 0; k < p; ++k)
        own[k + 1] = -phi[k];
    // The prediction error's variance against the measurements' own, per
    // unit of weight: the prior counts as much as it is worth.
    double error = 0.0;
    for (std::size_t i = 0; i <= p; ++i)
        for (std::size_t j = 0; j <= p; ++j)
            error += own[i] * own[j] * m[i * (p + 1) + j];
    error /= static_cast<double>(rows);
    filter_.assign(p + 3, 0.0);
    for (std::size_t k = 0; k <= p; ++k) {
        filter_[k] += own[k];
        filter_[k + 1] -= 2.0 * own[k];
        filter_[k + 2] += own[k];
    }
    double spread = 0.0, weight = 0.0;
    for (std::size_t t = 0; t < frames; ++t) {
        if (!std::isfinite(x_[t]))
            continue;
        for (const PreciseObservation* o = obs.frameBegin(t); o != obs.frameEnd(t); ++o) {
            const double u = u_[obs.indexOf(o)];
            if (u > 0.0 && std::isfinite(a_[o->track])) {
                const double d = obs.logFrequency(*o) - a_[o->track] - x_[t];
                spread += u * d * d;
                weight += u;
            }
        }
    }
    if (!(error > 0.0) || !(weight > 0.0))
        return false;
    lambda_ = kPriorStrength * (spread / weight) / error;
    return true;
}

void PreciseSpeedSolver::solveJointly()
{
    // x and the references a minimise
    //
    //     sum u (y - a_j - x_t)^2 + lambda sum (prediction error of x_t)^2.
    //
    // With each a_j eliminated (at its best for the x given) this is H x = c,
    // H positive semi-definite (a constant added to x and taken from every a
    // changes nothing), solved by conjugate gradients over the whole run,
    // starting from the speed so far.
    const PreciseObservations& obs = *obs_;
    const std::size_t frames = obs.frameCount();
    total_.assign(a_.size(), 0.0);
    std::vector<double> sum(a_.size(), 0.0);
    std::vector<double> frameWeight(frames, 0.0);
    for (std::size_t t = 0; t < frames; ++t)
        for (const PreciseObservation* o = obs.frameBegin(t); o != obs.frameEnd(t); ++o) {
            const double u = u_[obs.indexOf(o)];
            total_[o->track] += u;
            sum[o->track] += u * obs.logFrequency(*o);
            frameWeight[t] += u;
        }
    std::vector<double> positive;
    for (double w : frameWeight)
        if (w > 0.0)
            positive.push_back(w);
    if (positive.empty())
        return;
    trackMean_.assign(a_.size(), 0.0);

    std::vector<double> c(frames, 0.0), diagonal(frames, 0.0);
    for (std::size_t t = 0; t < frames; ++t)
        for (const PreciseObservation* o = obs.frameBegin(t); o != obs.frameEnd(t); ++o) {
            const double u = u_[obs.indexOf(o)];
            if (u > 0.0) {
                c[t] += u * (obs.logFrequency(*o) - sum[o->track] / total_[o->track]);
                diagonal[t] += u - u * u / total_[o->track];
            }
        }
    const std::size_t order = filter_.size();
    if (order >= 2 && frames >= order && lambda_ > 0.0)
        for (std::size_t t = order - 1; t < frames; ++t)
            for (std::size_t k = 0; k < order; ++k)
                diagonal[t - k] += lambda_ * filter_[k] * filter_[k];
    const double tiny = 1e-12 * medianInPlace(positive);
    for (double& d : diagonal)
        d = std::max(d, tiny);

    // Start from the estimate so far, its gaps filled with the last value.
    std::vector<double> x(frames, 0.0);
    double last = NAN;
    for (std::size_t t = 0; t < frames; ++t)
        if (std::isfinite(x_[t])) {
            last = x_[t];
            break;
        }
    if (!std::isfinite(last))
        last = 0.0;
    for (std::size_t t = 0; t < frames; ++t) {
        if (std::isfinite(x_[t]))
            last = x_[t];
        x[t] = last;
    }

    solveWhole(x, c, diagonal);

    x_ = x;
    std::fill(trackMean_.begin(), trackMean_.end(), 0.0);
    for (std::size_t t = 0; t < frames; ++t)
        for (const PreciseObservation* o = obs.frameBegin(t); o != obs.frameEnd(t); ++o)
            trackMean_[o->track] += u_[obs.indexOf(o)] * x[t];
    for (std::size_t j = 0; j < a_.size(); ++j)
        if (total_[j] > 0.0)
            a_[j] = (sum[j] - trackMean_[j]) / total_[j];
}

void PreciseSpeedSolver::solveWhole(std::vector<double>& x, const std::vector<double>& c,
                                    const std::vector<double>& diagonal)
{
    // Preconditioned by H's diagonal for what changes from frame to frame
    // and by H on a coarse grid for what changes slowly: the level of the
    // speed over minutes, which every hand-over in the run has a say in, is
    // otherwise reached only one frame's neighbours at a time and would take
    // thousands of steps (or stay where the first estimate left it).
    const PreciseObservations& obs = *obs_;
    const std::size_t frames = x.size();
    // A run too short for a few nodes is solved on its frames alone.
    const bool coarseGrid = frames >= 4 * kCoarseSpacing;
    CoarseSpeedSystem coarse(coarseGrid ? frames : 0, kCoarseSpacing, coarseGrid ? a_.size() : 0);
    for (std::size_t t = 0; coarseGrid && t < frames; ++t)
        for (const PreciseObservation* o = obs.frameBegin(t); o != obs.frameEnd(t); ++o) {
            const double u = u_[obs.indexOf(o)];
            if (u > 0.0)
                coarse.addObservation(o->track, t, u);
        }
    if (coarseGrid)
        coarse.addPrior(filter_, lambda_);
    const bool twoLevel = coarseGrid && coarse.factor();
    std::vector<double> r(frames), z(frames), p(frames), q(frames), zc;
    const auto precondition = [&]() {
        for (std::size_t t = 0; t < frames; ++t)
            z[t] = r[t] / diagonal[t];
        if (twoLevel) {
            // A constant added to the speed changes nothing, so the coarse
            // solve leaves it out, on the way in and out alike (the
            // preconditioner stays symmetric).
            std::vector<double> b = coarse.restrict(r);
            withoutMean(b);
            coarse.solveFactored(b, zc);
            withoutMean(zc);
            coarse.prolongAdd(zc, z);
        }
    };
    applyNormal(x, q);
    double rr = 0.0, scale = 0.0;
    for (std::size_t t = 0; t < frames; ++t) {
        r[t] = c[t] - q[t];
        rr += r[t] * r[t];
        scale += c[t] * c[t];
    }
    precondition();
    double rz = 0.0;
    for (std::size_t t = 0; t < frames; ++t) {
        p[t] = z[t];
        rz += r[t] * z[t];
    }
    const double goal = kResidualShare * kResidualShare * scale;
    for (int k = 0; k < kMaxIterations && rr > goal && rz > 0.0; ++k) {
        applyNormal(p, q);
        double pq = 0.0;
        for (std::size_t t = 0; t < frames; ++t)
            pq += p[t] * q[t];
        if (!(pq > 0.0))
            break;
        const double step = rz / pq;
        rr = 0.0;
        for (std::size_t t = 0; t < frames; ++t) {
            x[t] += step * p[t];
            r[t] -= step * q[t];
            rr += r[t] * r[t];
        }
        precondition();
        double next = 0.0;
        for (std::size_t t = 0; t < frames; ++t)
            next += r[t] * z[t];
        const double beta = next / rz;
        rz = next;
        for (std::size_t t = 0; t < frames; ++t)
            p[t] = z[t] + beta * p[t];
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
            // The frame's weight for having few partials is for the solve,
            // not a doubt about the speed found.
            const double u = u_[obs.indexOf(o)] / few_[t];
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
