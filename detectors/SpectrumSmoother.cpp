#include "detectors/SpectrumSmoother.h"

#include <algorithm>

namespace wowfix {

SpectrumSmoother::SpectrumSmoother() : history_(static_cast<size_t>(maxTimeOrder) * maxBins, 0.0) {}

bool SpectrumSmoother::configure(int bins, int freqOrder, int timeOrder)
{
    if (bins < 1 || bins > maxBins || freqOrder < 1 || freqOrder > maxFreqOrder || timeOrder < 1 ||
        timeOrder > maxTimeOrder)
        return false;
    bins_ = bins;
    freqOrder_ = freqOrder;
    timeOrder_ = timeOrder;
    reset();
    return true;
}

void SpectrumSmoother::reset()
{
    std::fill(history_.begin(), history_.end(), 0.0);
    newest_ = 0;
}

void SpectrumSmoother::smoothAcrossBins(const double* in, double* out) const
{
    const int n = bins_;
    const int F = freqOrder_;
    const int reach = F / 2;
    const bool halfEnds = (F % 2) == 0;
    for (int k = 0; k < n; ++k) {
        double sum = 0.0;
        double weight = 0.0;
        for (int j = -reach; j <= reach; ++j) {
            const int i = k + j;
            if (i < 0 || i >= n)
                continue;
            const double c = (halfEnds && (j == -reach || j == reach)) ? 0.5 : 1.0;
            sum += c * in[i];
            weight += c;
        }
        out[k] = sum / weight;
    }
}

void SpectrumSmoother::smoothOverFrames(const double* in, double* out)
{
    const int n = bins_;
    newest_ = (newest_ + 1) % maxTimeOrder;
    std::copy(in, in + n, plane(newest_));
    std::fill(out, out + n, 0.0);
    for (int t = 0; t < timeOrder_; ++t) {
        const double* frame = plane((newest_ - t + maxTimeOrder) % maxTimeOrder);
        for (int k = 0; k < n; ++k)
            out[k] += frame[k];
    }
    const double scale = 1.0 / timeOrder_;
    for (int k = 0; k < n; ++k)
        out[k] *= scale;
}

void SpectrumSmoother::smooth(double* spectrum, double* scratch)
{
    smoothAcrossBins(spectrum, scratch);
    smoothOverFrames(scratch, spectrum);
}

}  // namespace wowfix
