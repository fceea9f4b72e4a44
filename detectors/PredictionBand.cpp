#include "detectors/PredictionBand.h"

#include <cmath>

namespace wowfix {

PredictionBand::PredictionBand(double predictedBin, int marginPercent, int lowest, int highest)
    : centre_(predictedBin < 1.0 ? 1.0 : predictedBin)
{
    const double margin = marginPercent < 1 ? 1.0 : marginPercent;
    predictedBin = centre_;
    above_ = predictedBin / 10.0;
    below_ = above_ * margin / 100.0;
    const double lowEdge = std::ceil(predictedBin - below_);
    // Bins strictly below pb + w2: that end of the band carries a zero gain.
    const double highEdge = std::ceil(predictedBin + above_) - 1.0;
    first_ = lowEdge < lowest ? lowest : static_cast<int>(lowEdge);
    last_ = highEdge > highest ? highest : static_cast<int>(highEdge);
}

void PredictionBand::addNotch(double centre, double radius)
{
    if (!(radius > 0.0))
        return;
    notched_ = true;
    notchCentre_ = centre;
    notchRadius_ = radius;
}

double PredictionBand::gain(int j) const
{
    if (j < first_ || j > last_)
        return 0.0;
    const double x = j - centre_;
    const double slope = x < 0.0 ? above_ / below_ : 1.0;
    const double a = (above_ + 1.0 - std::fabs(x) * slope) / (above_ + 1.0);
    double g = a > 0.0 ? a * a : 0.0;
    if (notched_) {
        const double d = std::fabs(j - notchCentre_);
        if (d < notchRadius_)
            g *= 0.9 * d / notchRadius_;
    }
    return g;
}

double PredictionBand::centroid(const double* spectrum) const
{
    double moment = 0.0;
    double mass = 0.0;
    for (int j = first_; j <= last_; ++j) {
        const double g = gain(j);
        const double g2 = g * g;
        const double weighted = spectrum[j] * g2 * g2;
        moment += j * weighted;
        mass += weighted;
    }
    if (!(mass > 0.0))
        return -1.0;
    const double c = moment / mass;
    return (c > first_ && c < last_) ? c : -1.0;
}

}  // namespace wowfix
