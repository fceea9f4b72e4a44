#include "detectors/PreciseTuningAnchor.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace wowfix {

namespace {
constexpr double kWanderCents = 1.0;     // how fast the level errors walk, cents per root second
constexpr double kGateCents = 6.0;       // places this near the offset measure it
constexpr double kStartSeconds = 10.0;   // the stretch the start is found in
constexpr double kSmoothingCents = 1.0;  // the start's peak is found at this resolution
constexpr double kClarity = 3.0;         // ... and stands this many times above an even spread
constexpr double kMinEvents = 3.0;       // notes or chords (counted by weight) a block needs to measure
constexpr double kMinShare = 0.15;       // ... and the share of its weight within the gate
constexpr double kEventCents = 1.0;      // how closely one note is taken to keep the tuning, at best
constexpr double kSpreadCents = 12.0;    // how far from the place a note's tuning is judged
constexpr double kLooseCents = 4.5;      // notes straying further (RMS) leave the speed alone
constexpr std::uint32_t kSameOnset = 2;  // partials starting this many frames apart are one event
constexpr int kBins = 200;               // half-cent bins over 100 cents
constexpr double kCentsPerLog = 1200.0 / 0.69314718055994531;  // 1200 / ln 2

// d wrapped into -50 .. 50 cents.
double wrapCents(double d) { return d - 100.0 * std::round(d / 100.0); }

double placeOf(double logFrequency)
{
    const double c = std::fmod(logFrequency * kCentsPerLog, 100.0);
    return c < 0.0 ? c + 100.0 : c;
}

struct Member {
    double place;  // cents, 0 .. 100
    double weight;
    std::uint32_t event;  // the note or chord it belongs to
};

// The highest peak of the places, smoothed, and whether it stands out.
bool startingPlace(const std::vector<std::vector<Member>>& blocks, std::size_t from, std::size_t to, double& place)
{
    std::vector<double> h(kBins, 0.0);
    double total = 0.0;
    for (std::size_t b = from; b < std::min(to, blocks.size()); ++b)
        for (const Member& m : blocks[b]) {
            const double position = m.place / (100.0 / kBins);
            const double below = std::floor(position);
            const double share = position - below;
            const int i = static_cast<int>(below) % kBins;
            h[static_cast<std::size_t>(i)] += m.weight * (1.0 - share);
            h[static_cast<std::size_t>((i + 1) % kBins)] += m.weight * share;
            total += m.weight;
        }
    if (!(total > 0.0))
        return false;
    const double sigma = kSmoothingCents / (100.0 / kBins);
    const int reach = static_cast<int>(std::ceil(4.0 * sigma));
    double best = -1.0;
    int at = 0;
    for (int b = 0; b < kBins; ++b) {
        double v = 0.0;
        for (int i = -reach; i <= reach; ++i) {
            const double q = i / sigma;
            v += std::exp(-0.5 * q * q) * h[static_cast<std::size_t>(((b + i) % kBins + kBins) % kBins)];
        }
        if (v > best) {
            best = v;
            at = b;
        }
    }
    // Against an even spread: total / kBins per bin, smoothed the same way.
    const double even = total / kBins * std::sqrt(2.0 * 3.14159265358979323846) * sigma;
    place = at * (100.0 / kBins);
    return best >= kClarity * even;
}

// The mean of the places within the gate around `centre` and its variance;
// false where too few notes count. The partials of one note or chord agree
// with each other whatever its tuning, so each event counts once: its place
// is the mean of its partials' and the variance comes from how the events
// differ (never less than kEventCents).
bool measure(const std::vector<Member>& members, double centre, double eventCents, double& value, double& variance)
{
    struct Event {
        std::uint32_t id;
        double sum, weight;
    };
    std::vector<Event> events;
    for (int pass = 0; pass < 2; ++pass) {
        events.clear();
        double all = 0.0;
        for (const Member& m : members) {
            all += m.weight;
            const double d = wrapCents(m.place - centre);
            if (std::fabs(d) >= kGateCents)
                continue;
            if (events.empty() || events.back().id != m.event)
                events.push_back({m.event, 0.0, 0.0});
            events.back().sum += m.weight * d;
            events.back().weight += m.weight;
        }
        double sum = 0.0, sumSquares = 0.0, weight = 0.0, weightSquares = 0.0;
        for (const Event& e : events) {
            const double d = e.sum / e.weight;
            sum += e.weight * d;
            sumSquares += e.weight * d * d;
            weight += e.weight;
            weightSquares += e.weight * e.weight;
        }
        if (!(weight > 0.0) || weight < kMinShare * all)
            return false;
        const double count = weight * weight / weightSquares;
        if (count < kMinEvents)
            return false;
        const double mean = sum / weight;
        const double spread = std::max(sumSquares / weight - mean * mean, eventCents * eventCents);
        centre += mean;
        value = centre;
        variance = spread / count;
    }
    return true;
}

// The Kalman filter from block `first` at `start`, then the smoother back;
// false where no block measured anything.
bool follow(const std::vector<std::vector<Member>>& blocks, std::size_t first, double start, double walk,
            double eventCents, std::vector<double>& offset)
{
    const std::size_t count = blocks.size();
    std::vector<double> filtered(count, start), variance(count, INFINITY);
    double d = start, p = kGateCents * kGateCents;
    bool measured = false;
    for (std::size_t b = first; b < count; ++b) {
        if (b > first)
            p += walk;
        double value = 0.0, noise = 0.0;
        if (measure(blocks[b], d, eventCents, value, noise)) {
            const double gain = p / (p + noise);
            d += gain * (value - d);
            p *= 1.0 - gain;
            measured = true;
        }
        filtered[b] = d;
        variance[b] = p;
    }
    // Before `first` nothing is known: the smoother's value holds there.
    offset = filtered;
    for (std::size_t b = count - 1; b-- > 0;) {
        const double gain = std::isfinite(variance[b]) ? variance[b] / (variance[b] + walk) : 1.0;
        offset[b] = filtered[b] + gain * (offset[b + 1] - filtered[b]);
    }
    return measured;
}

// How far the notes stray from the place followed, over the whole run: the
// RMS of every event's distance from it (each event at the mean of its
// partials within kSpreadCents), weighted by the events' weights.
double intonationSpread(const std::vector<std::vector<Member>>& blocks, const std::vector<double>& offset)
{
    double sum = 0.0, weight = 0.0;
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        double eventSum = 0.0, eventWeight = 0.0;
        std::uint32_t id = 0;
        const auto close = [&]() {
            if (eventWeight > 0.0) {
                const double d = eventSum / eventWeight;
                sum += eventWeight * d * d;
                weight += eventWeight;
            }
            eventSum = eventWeight = 0.0;
        };
        for (const Member& m : blocks[b]) {
            if (m.event != id)
                close();
            id = m.event;
            const double d = wrapCents(m.place - offset[b]);
            if (std::fabs(d) < kSpreadCents) {
                eventSum += m.weight * d;
                eventWeight += m.weight;
            }
        }
        close();
    }
    return weight > 0.0 ? std::sqrt(sum / weight) : INFINITY;
}

// x += the offset, less its median, interpolated between block centres.
double move(const std::vector<double>& offset, std::size_t blockFrames, std::vector<double>& x)
{
    std::vector<double> sorted(offset);
    std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(sorted.size() / 2), sorted.end());
    const double middle = sorted[sorted.size() / 2];
    const double last = static_cast<double>(offset.size() - 1);
    double largest = 0.0;
    for (std::size_t t = 0; t < x.size(); ++t) {
        if (!std::isfinite(x[t]))
            continue;
        const double u = std::clamp((static_cast<double>(t) + 0.5) / static_cast<double>(blockFrames) - 0.5, 0.0, last);
        const std::size_t i = static_cast<std::size_t>(u);
        const double f = u - static_cast<double>(i);
        const double c = i + 1 < offset.size() ? offset[i] + f * (offset[i + 1] - offset[i]) : offset[i];
        const double shift = (c - middle) / kCentsPerLog;
        x[t] += shift;
        largest = std::max(largest, std::fabs(shift));
    }
    return largest;
}
}  // namespace

TuningAnchorResult anchorToTuning(const PreciseObservations& observations, const std::vector<double>& reference,
                                  const std::vector<double>& trackWeight, double frameRate, std::vector<double>& x)
{
    TuningAnchorResult result;
    const std::size_t frames = observations.frameCount();
    const std::size_t tracks = observations.tracks().size();
    if (!(frameRate > 0.0) || x.size() != frames || frames == 0 || reference.size() != tracks ||
        trackWeight.size() != tracks)
        return result;
    const std::size_t blockFrames = static_cast<std::size_t>(std::max(1.0, std::round(frameRate)));
    const std::size_t blockCount = (frames + blockFrames - 1) / blockFrames;

    // The events: partials that start together (tracks are numbered in the
    // order they start).
    std::vector<std::uint32_t> event(tracks, 0);
    for (std::size_t j = 1; j < tracks; ++j) {
        const auto& span = observations.tracks();
        event[j] = event[j - 1] + (span[j].first > span[j - 1].first + kSameOnset ? 1 : 0);
    }

    // 1. The partials of every block at their places.
    std::vector<std::vector<Member>> blocks(blockCount);
    std::vector<double> inBlock(tracks, 0.0);
    std::vector<std::uint32_t> touched;
    for (std::size_t b = 0; b < blockCount; ++b) {
        const std::size_t to = std::min(frames, (b + 1) * blockFrames);
        for (std::size_t t = b * blockFrames; t < to; ++t) {
            if (!std::isfinite(x[t]))
                continue;
            for (const PreciseObservation* o = observations.frameBegin(t); o != observations.frameEnd(t); ++o) {
                const double w = static_cast<double>(o->weight) * trackWeight[o->track];
                if (!(w > 0.0) || !std::isfinite(reference[o->track]))
                    continue;
                if (inBlock[o->track] == 0.0)
                    touched.push_back(o->track);
                inBlock[o->track] += w;
            }
        }
        std::sort(touched.begin(), touched.end());
        for (std::uint32_t j : touched) {
            blocks[b].push_back({placeOf(reference[j]), inBlock[j], event[j]});
            inBlock[j] = 0.0;
        }
        touched.clear();
    }

    // 2. Where the run starts from: the first stretch of kStartSeconds whose
    //    peak stands out. The Kalman filter starts there; the smoother takes
    //    what it found back to the blocks before.
    const std::size_t stretch = std::max<std::size_t>(1, static_cast<std::size_t>(std::round(kStartSeconds * frameRate / static_cast<double>(blockFrames))));
    double start = 0.0;
    std::size_t first = 0;
    while (first < blockCount && !startingPlace(blocks, first, first + stretch, start))
        first += stretch;
    if (first >= blockCount)
        return result;

    // 3. Forward filter, then the smoother back; then again with each
    //    note taken to keep the tuning no closer than the run's notes keep
    //    it. Music tuned more loosely than kLooseCents leaves the speed as it
    //    was: its place is no surer than the solver's level.
    const double seconds = static_cast<double>(blockFrames) / frameRate;
    const double walk = kWanderCents * kWanderCents * seconds;
    std::vector<double> offset;
    if (!follow(blocks, first, start, walk, kEventCents, offset))
        return result;
    const double spread = intonationSpread(blocks, offset);
    if (!(spread <= kLooseCents))
        return result;
    if (spread > kEventCents && !follow(blocks, first, start, walk, spread, offset))
        return result;

    // 4. The speed moved.
    result.found = true;
    result.largestMove = move(offset, blockFrames, x);
    return result;
}

}  // namespace wowfix
