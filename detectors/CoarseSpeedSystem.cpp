#include "detectors/CoarseSpeedSystem.h"

#include <algorithm>
#include <cmath>

namespace wowfix {

CoarseSpeedSystem::CoarseSpeedSystem(std::size_t frames, std::size_t spacing, std::size_t tracks)
    : frames_(frames), spacing_(std::max<std::size_t>(1, spacing)),
      nodes_(frames == 0 ? 0 : (frames - 1 + spacing_ - 1) / spacing_ + 1), bandValues_(nodes_ * (band_ + 1), 0.0),
      tracks_(tracks)
{
}

void CoarseSpeedSystem::locate(std::size_t frame, std::size_t& node, double& share) const
{
    node = frame / spacing_;
    share = static_cast<double>(frame - node * spacing_) / static_cast<double>(spacing_);
}

void CoarseSpeedSystem::addToBand(std::size_t i, std::size_t k, double value)
{
    if (k < i)
        std::swap(i, k);
    if (k >= nodes_)
        return;
    const std::size_t d = k - i;
    if (d > band_) {
        std::vector<double> wider(nodes_ * (d + 1), 0.0);
        for (std::size_t r = 0; r < nodes_; ++r)
            for (std::size_t e = 0; e <= band_; ++e)
                wider[r * (d + 1) + e] = bandValues_[r * (band_ + 1) + e];
        bandValues_.swap(wider);
        band_ = d;
    }
    bandValues_[i * (band_ + 1) + d] += value;
}

void CoarseSpeedSystem::addObservation(std::size_t track, std::size_t frame, double u)
{
    if (track >= tracks_.size() || frame >= frames_ || !(u > 0.0))
        return;
    std::size_t node = 0;
    double f = 0.0;
    locate(frame, node, f);
    Track& partial = tracks_[track];
    if (partial.q.empty())
        partial.firstNode = node;
    if (node < partial.firstNode)
        return;  // observations come in time order
    // The frame's weight, on the diagonal of H.
    addToBand(node, node, u * (1.0 - f) * (1.0 - f));
    if (f > 0.0) {
        addToBand(node, node + 1, u * f * (1.0 - f));
        addToBand(node + 1, node + 1, u * f * f);
    }
    // The partial's own term.
    const std::size_t at = node - partial.firstNode;
    const std::size_t spans = f > 0.0 ? 2 : 1;
    if (partial.q.size() < at + spans)
        partial.q.resize(at + spans, 0.0);
    partial.q[at] += u * (1.0 - f);
    if (f > 0.0)
        partial.q[at + 1] += u * f;
    partial.total += u;
}

void CoarseSpeedSystem::addPrior(const std::vector<double>& filter, double lambda)
{
    const std::size_t order = filter.size();
    if (order < 2 || frames_ < order || !(lambda > 0.0) || nodes_ == 0)
        return;
    // Column i of A P: the filter run over the hat of node i.
    std::vector<std::vector<double>> columns(nodes_);
    std::vector<std::size_t> firstRow(nodes_, 0);
    for (std::size_t i = 0; i < nodes_; ++i) {
        const std::size_t centre = i * spacing_;
        const std::size_t hatFrom = centre >= spacing_ ? centre - spacing_ + 1 : 0;
        const std::size_t hatTo = std::min(frames_, centre + spacing_);  // past the hat
        const std::size_t from = std::max(order - 1, hatFrom);
        const std::size_t to = std::min(frames_, hatTo + order - 1);
        firstRow[i] = from;
        if (from >= to)
            continue;
        columns[i].assign(to - from, 0.0);
        for (std::size_t s = from; s < to; ++s) {
            double sum = 0.0;
            for (std::size_t k = 0; k < order && k <= s; ++k) {
                const std::size_t t = s - k;
                if (t < hatFrom || t >= hatTo)
                    continue;
                const double distance = std::fabs(static_cast<double>(t) - static_cast<double>(centre));
                sum += filter[k] * (1.0 - distance / static_cast<double>(spacing_));
            }
            columns[i][s - from] = sum;
        }
    }
    for (std::size_t i = 0; i < nodes_; ++i)
        for (std::size_t k = i; k < nodes_; ++k) {
            if (columns[k].empty())
                continue;
            if (firstRow[k] >= firstRow[i] + columns[i].size())
                break;
            const std::size_t from = std::max(firstRow[i], firstRow[k]);
            const std::size_t to = std::min(firstRow[i] + columns[i].size(), firstRow[k] + columns[k].size());
            double dot = 0.0;
            for (std::size_t s = from; s < to; ++s)
                dot += columns[i][s - firstRow[i]] * columns[k][s - firstRow[k]];
            addToBand(i, k, lambda * dot);
        }
}

std::vector<double> CoarseSpeedSystem::restrict(const std::vector<double>& fine) const
{
    std::vector<double> out(nodes_, 0.0);
    for (std::size_t t = 0; t < std::min(frames_, fine.size()); ++t) {
        std::size_t node = 0;
        double f = 0.0;
        locate(t, node, f);
        out[node] += (1.0 - f) * fine[t];
        if (f > 0.0 && node + 1 < nodes_)
            out[node + 1] += f * fine[t];
    }
    return out;
}

void CoarseSpeedSystem::prolongAdd(const std::vector<double>& z, std::vector<double>& x) const
{
    if (z.size() != nodes_)
        return;
    for (std::size_t t = 0; t < std::min(frames_, x.size()); ++t) {
        std::size_t node = 0;
        double f = 0.0;
        locate(t, node, f);
        x[t] += (1.0 - f) * z[node] + (f > 0.0 && node + 1 < nodes_ ? f * z[node + 1] : 0.0);
    }
}

void CoarseSpeedSystem::multiply(const std::vector<double>& v, std::vector<double>& out) const
{
    std::fill(out.begin(), out.end(), 0.0);
    const std::size_t width = band_ + 1;
    for (std::size_t i = 0; i < nodes_; ++i) {
        const double* row = bandValues_.data() + i * width;
        out[i] += row[0] * v[i];
        for (std::size_t d = 1; d <= band_ && i + d < nodes_; ++d) {
            out[i] += row[d] * v[i + d];
            out[i + d] += row[d] * v[i];
        }
    }
    for (const Track& track : tracks_) {
        if (!(track.total > 0.0))
            continue;
        double dot = 0.0;
        for (std::size_t k = 0; k < track.q.size(); ++k)
            dot += track.q[k] * v[track.firstNode + k];
        dot /= track.total;
        for (std::size_t k = 0; k < track.q.size(); ++k)
            out[track.firstNode + k] -= track.q[k] * dot;
    }
}

bool CoarseSpeedSystem::factor()
{
    constexpr std::size_t kMaxSpan = 33;
    std::size_t band = band_;
    for (const Track& track : tracks_)
        if (track.total > 0.0 && track.q.size() <= kMaxSpan)
            band = std::max(band, track.q.size() - 1);
    factorBand_ = band;
    const std::size_t width = band + 1;
    factor_.assign(nodes_ * width, 0.0);
    // The lower band: A(i, i - d) at [i * width + d].
    for (std::size_t j = 0; j < nodes_; ++j)
        for (std::size_t d = 0; d <= band_ && j + d < nodes_; ++d)
            factor_[(j + d) * width + d] = bandValues_[j * (band_ + 1) + d];
    for (const Track& track : tracks_) {
        if (!(track.total > 0.0) || track.q.size() > kMaxSpan)
            continue;
        for (std::size_t k = 0; k < track.q.size(); ++k)
            for (std::size_t l = 0; l <= k; ++l)
                factor_[(track.firstNode + k) * width + (k - l)] -= track.q[k] * track.q[l] / track.total;
    }
    double largest = 0.0;
    for (std::size_t i = 0; i < nodes_; ++i)
        largest = std::max(largest, factor_[i * width]);
    if (!(largest > 0.0))
        return false;
    // A constant added to the speed changes nothing: a little on the
    // diagonal makes the system definite.
    for (std::size_t i = 0; i < nodes_; ++i)
        factor_[i * width] += 1e-9 * largest;
    // Cholesky within the band.
    for (std::size_t i = 0; i < nodes_; ++i) {
        const std::size_t first = i >= band ? i - band : 0;
        for (std::size_t j = first; j <= i; ++j) {
            double sum = factor_[i * width + (i - j)];
            const std::size_t from = std::max(first, j >= band ? j - band : 0);
            for (std::size_t k = from; k < j; ++k)
                sum -= factor_[i * width + (i - k)] * factor_[j * width + (j - k)];
            if (j == i)
                factor_[i * width] = std::sqrt(std::max(sum, 1e-12 * largest));
            else
                factor_[i * width + (i - j)] = sum / factor_[j * width];
        }
    }
    return true;
}

void CoarseSpeedSystem::solveFactored(const std::vector<double>& b, std::vector<double>& z) const
{
    const std::size_t width = factorBand_ + 1;
    z = b;
    z.resize(nodes_, 0.0);
    if (factor_.size() != nodes_ * width)
        return;
    for (std::size_t i = 0; i < nodes_; ++i) {
        double sum = z[i];
        const std::size_t first = i >= factorBand_ ? i - factorBand_ : 0;
        for (std::size_t k = first; k < i; ++k)
            sum -= factor_[i * width + (i - k)] * z[k];
        z[i] = sum / factor_[i * width];
    }
    for (std::size_t i = nodes_; i-- > 0;) {
        double sum = z[i];
        for (std::size_t k = i + 1; k <= i + factorBand_ && k < nodes_; ++k)
            sum -= factor_[k * width + (k - i)] * z[k];
        z[i] = sum / factor_[i * width];
    }
}

}  // namespace wowfix
