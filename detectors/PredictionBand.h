#pragma once

namespace wowfix {

// The search band of the tracker's predictive path: a window of bins around the
// predicted bin pb of the pilot, with a short rising side below the prediction
// and a longer falling side above it. With margin m (percent, 50..100):
//
//     w2 = pb / 10,   w1 = w2 * m / 100,   band pb - w1 <= j < pb + w2,
//     a(x) = ((w2 + 1 - |x| s) / (w2 + 1))^2,   x = j - pb,
//
// where the slope s is w2 / w1 below the prediction and 1 above it, so the
// magnitude gain a is 1 at pb and falls to (1 / (w2 + 1))^2 at both ends. All of
// it is real arithmetic; the band is cut to the bins [lowest, highest] the
// spectrum has. A prediction below bin 1 counts as bin 1.
//
// A notch may be added at a given bin position c with radius r: the gain there
// is multiplied by 0.9 |j - c| / r for |j - c| < r (0 at c, 0.9 at its edges),
// symmetric about c.
//
// The gains act on magnitudes; on the tracker's 4th-power spectrum they enter
// as their 4th power.
class PredictionBand {
public:
    PredictionBand(double predictedBin, int marginPercent, int lowest, int highest);

    void addNotch(double centre, double radius);

    int first() const { return first_; }
    int last() const { return last_; }
    bool empty() const { return first_ > last_; }

    // Magnitude gain of bin j (0 outside the band).
    double gain(int j) const;

    // Centre of gravity of the band-weighted 4th-power spectrum, strictly inside
    // the band's ends; -1.0 when there is none (nothing in the band, or a centre
    // on an end).
    double centroid(const double* spectrum) const;

private:
    double centre_;
    double below_;  // w1
    double above_;  // w2
    int first_;
    int last_;
    bool notched_ = false;
    double notchCentre_ = 0.0;
    double notchRadius_ = 0.0;
};

}  // namespace wowfix
