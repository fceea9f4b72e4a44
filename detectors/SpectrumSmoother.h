#pragma once

#include <vector>

namespace wowfix {

// Smooths the tracker's spectra across bins and over frames.
//
// Across bins, order F is a centred moving average of width F:
//
//     out[k] = (1/F) * sum_{|j| <= F/2} c_j in[k + j],
//
// with c_j = 1, except that for even F the two end taps (|j| = F/2) weigh 1/2;
// the kernel is symmetric, so a peak stays where it was. Near the ends of the
// spectrum the taps that fall outside are left out and the rest renormalised.
//
// Over frames, order T is the mean of the last T smoothed spectra of the run,
// summed afresh every frame (a running sum would keep the rounding residue of a
// loud passage long after it). The first T - 1 frames of a run average in the
// zero spectra the history starts with, which scales them but moves no peak.
class SpectrumSmoother {
public:
    static constexpr int maxTimeOrder = 16;
    static constexpr int maxFreqOrder = 8;
    static constexpr int maxBins = 4097;

    SpectrumSmoother();

    // Sets the bin count and both orders and clears the history. Answers false,
    // keeping the previous configuration and history, unless 1 <= bins <= maxBins,
    // 1 <= F <= maxFreqOrder and 1 <= T <= maxTimeOrder.
    bool configure(int bins, int freqOrder, int timeOrder);

    // Clears the history of past frames.
    void reset();

    int bins() const { return bins_; }
    int freqOrder() const { return freqOrder_; }
    int timeOrder() const { return timeOrder_; }

    // in -> out across bins (the arrays must not overlap).
    void smoothAcrossBins(const double* in, double* out) const;

    // Enters `in` as the newest frame and writes the mean of the last T frames.
    // in and out may be the same array.
    void smoothOverFrames(const double* in, double* out);

    // Both, as the tracker uses them: spectrum -> scratch across bins, then back
    // into spectrum over frames.
    void smooth(double* spectrum, double* scratch);

private:
    double* plane(int p) { return history_.data() + static_cast<long>(p) * maxBins; }

    std::vector<double> history_;  // maxTimeOrder planes of maxBins values
    int bins_ = 0;
    int freqOrder_ = 1;
    int timeOrder_ = 1;
    int newest_ = 0;  // plane holding the newest frame
};

}  // namespace wowfix
