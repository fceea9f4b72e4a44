#include "detectors/SDPvcGroups.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <numeric>
#include <utility>

namespace wowfix {

namespace {

constexpr double kMinSupport = 0.05;
constexpr double kMinOverlap = 0.05;
constexpr double kHistogramStep = 25.0;  // Hz
// A group's frequency that moves from one frame to the next by more than
// 1.5 bins and more than 3 % has passed to another tone (a new note, a
// semitone is 6 %): no speed change moves a partial that far within a hop,
// while flutter may move it by more than a bin when the bins are narrow. The
// segment ends there.
constexpr float kLargestStepBins = 1.5f;
constexpr float kLargestStepFraction = 0.03f;

// A distribution over 25 Hz bins, sparse: (bin, share) in ascending bin order.
using Histogram = std::vector<std::pair<int, double>>;

int histogramBin(double f) {
    int j = std::max(0, static_cast<int>(std::floor((f - 13.0) / kHistogramStep)));
    while (std::fabs(std::trunc(f - kHistogramStep * j)) > 12.5) ++j;
    return j;
}

Histogram histogramOf(const PartialTrack& track, const std::function<float(int)>& frequencyOfBin) {
    Histogram h;
    for (std::uint16_t bin : track.bins) {
        const int j = histogramBin(frequencyOfBin(bin));
        auto it = std::lower_bound(h.begin(), h.end(), j, [](const auto& e, int key) { return e.first < key; });
        if (it != h.end() && it->first == j)
            it->second += 1.0;
        else
            h.insert(it, {j, 1.0});
    }
    const double n = static_cast<double>(track.bins.size());
    for (auto& e : h) e.second /= n;
    return h;
}

double overlapOf(const Histogram& a, const Histogram& b) {
    double sum = 0.0;
    size_t i = 0, k = 0;
    while (i < a.size() && k < b.size()) {
        if (a[i].first < b[k].first)
            ++i;
        else if (b[k].first < a[i].first)
            ++k;
        else
            sum += a[i++].second * b[k++].second;
    }
    return sum;
}

// (len_a a + len_b b) / (len_a + len_b).
Histogram merged(const Histogram& a, double lengthA, const Histogram& b, double lengthB) {
    Histogram out;
    out.reserve(a.size() + b.size());
    const double total = lengthA + lengthB;
    size_t i = 0, k = 0;
    while (i < a.size() || k < b.size()) {
        if (k == b.size() || (i < a.size() && a[i].first < b[k].first)) {
            out.push_back({a[i].first, lengthA * a[i].second / total});
            ++i;
        } else if (i == a.size() || b[k].first < a[i].first) {
            out.push_back({b[k].first, lengthB * b[k].second / total});
            ++k;
        } else {
            out.push_back({a[i].first, (lengthA * a[i].second + lengthB * b[k].second) / total});
            ++i;
            ++k;
        }
    }
    return out;
}

struct FrameEntry {
    int frame;
    float frequency;
    float weight;
};

// The copied frames in copy order become the group's segments: the last copy
// of a frame counts, and a run of frames breaks where the frequency steps to
// another tone.
PartialGroup segmentsOf(std::vector<FrameEntry>& entries, float binWidth) {
    std::stable_sort(entries.begin(), entries.end(),
                     [](const FrameEntry& a, const FrameEntry& b) { return a.frame < b.frame; });
    PartialGroup group;
    std::vector<float> raw;
    size_t i = 0;
    while (i < entries.size()) {
        GroupSegment segment;
        segment.startFrame = entries[i].frame;
        raw.clear();
        int next = segment.startFrame;
        while (i < entries.size() && entries[i].frame <= next) {
            size_t last = i;
            while (last + 1 < entries.size() && entries[last + 1].frame == entries[i].frame) ++last;
            if (!raw.empty()) {
                const float step = std::fabs(entries[last].frequency - raw.back());
                if (step > kLargestStepBins * binWidth && step > kLargestStepFraction * raw.back()) break;
            }
            raw.push_back(entries[last].frequency);
            segment.weight.push_back(entries[last].weight);
            i = last + 1;
            ++next;
        }
        segment.smoothed.resize(raw.size());
        smooth5(raw.data(), segment.smoothed.data(), static_cast<int>(raw.size()));
        segment.median = upperMedian(segment.smoothed);
        group.segments.push_back(std::move(segment));
    }
    return group;
}

}  // namespace

float GroupSegment::ratio(int f) const {
    const float y = smoothed[static_cast<size_t>(f - startFrame)];
    const float r = y / median;
    return median > 0.0f && std::isfinite(r) && r > 0.0f ? r : 1.0f;
}

const GroupSegment* PartialGroup::segmentAt(int f) const {
    auto it = std::upper_bound(segments.begin(), segments.end(), f,
                               [](int frame, const GroupSegment& s) { return frame < s.startFrame; });
    if (it == segments.begin()) return nullptr;
    --it;
    return f < it->endFrame() ? &*it : nullptr;
}

void smooth5(const float* x, float* y, int n) {
    if (n <= 0) return;
    if (n < 3) {
        std::copy(x, x + n, y);
        return;
    }
    y[0] = x[0];
    y[1] = (x[0] + x[1] + x[2]) / 3.0f;
    for (int i = 2; i <= n - 3; ++i) y[i] = (x[i - 2] + x[i - 1] + x[i] + x[i + 1] + x[i + 2]) / 5.0f;
    y[n - 2] = (x[n - 3] + x[n - 2] + x[n - 1]) / 3.0f;
    y[n - 1] = x[n - 1];
}

float upperMedian(std::vector<float> values) {
    if (values.empty()) return 1.0f;
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

bool groupTracks(const std::vector<PartialTrack>& tracks, int frames,
                 const std::function<float(int)>& frequencyOfBin, std::vector<PartialGroup>& groups) {
    groups.clear();
    if (frames < 1) return true;
    try {
        std::vector<size_t> order;
        std::vector<double> support(tracks.size(), 0.0);
        for (size_t t = 0; t < tracks.size(); ++t) {
            if (tracks[t].bins.empty()) continue;
            support[t] = static_cast<double>(tracks[t].length()) / frames;
            if (support[t] >= kMinSupport) order.push_back(t);
        }
        std::stable_sort(order.begin(), order.end(), [&support](size_t a, size_t b) { return support[a] > support[b]; });
        std::vector<Histogram> hist(tracks.size());
        for (size_t t : order) hist[t] = histogramOf(tracks[t], frequencyOfBin);

        std::vector<char> used(tracks.size(), 0);
        std::vector<FrameEntry> entries;
        const auto copy = [&](size_t t) {
            const PartialTrack& track = tracks[t];
            for (size_t i = 0; i < track.bins.size(); ++i)
                entries.push_back({track.startFrame + static_cast<int>(i), frequencyOfBin(track.bins[i]),
                                   static_cast<float>(support[t])});
        };
        for (size_t a = 0; a < order.size(); ++a) {
            const size_t i = order[a];
            if (used[i]) continue;
            used[i] = 1;
            entries.clear();
            copy(i);
            Histogram groupHist = hist[i];
            double groupLength = static_cast<double>(tracks[i].length());
            for (size_t b = a + 1; b < order.size(); ++b) {
                const size_t k = order[b];
                if (used[k] || overlapOf(groupHist, hist[k]) <= kMinOverlap) continue;
                copy(k);
                const double lengthK = static_cast<double>(tracks[k].length());
                groupHist = merged(groupHist, groupLength, hist[k], lengthK);
                groupLength += lengthK;
                used[k] = 1;
            }
            groups.push_back(segmentsOf(entries, frequencyOfBin(1)));
        }
    } catch (const std::bad_alloc&) {
        groups.clear();
        return false;
    }
    return true;
}

}  // namespace wowfix
