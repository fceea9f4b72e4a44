#include "detectors/SpectralPeaks.h"

#include <algorithm>
#include <array>

namespace wowfix {

int findPeak(const double* spectrum, int from, int to)
{
    if (from > to)
        return -1;
    int best = from;
    for (int i = from + 1; i <= to; ++i) {
        if (spectrum[i] > spectrum[best])
            best = i;
    }
    return spectrum[best] > 0.0 ? best : -1;
}

int climbToPeak(const double* spectrum, int start, int from, int to)
{
    int k = start;
    for (;;) {
        if (k + 1 <= to && spectrum[k + 1] > spectrum[k])
            ++k;
        else if (k - 1 >= from && spectrum[k - 1] > spectrum[k])
            --k;
        else
            return k;
    }
}

double localCentroid(const double* spectrum, int peak, int radius, int from, int to)
{
    const int lo = peak - radius > from ? peak - radius : from;
    const int hi = peak + radius < to ? peak + radius : to;
    double moment = 0.0;
    double mass = 0.0;
    for (int k = lo; k <= hi; ++k) {
        moment += k * spectrum[k];
        mass += spectrum[k];
    }
    return mass > 0.0 ? moment / mass : peak;
}

bool standsOut(const double* spectrum, int peak, int radius, int from, int to, double contrast)
{
    radius = std::min(radius, maxContrastRadius);
    std::array<double, 2 * maxContrastRadius + 1> around;
    int n = 0;
    for (int k = std::max(from, peak - radius); k <= std::min(to, peak + radius); ++k)
        around[n++] = spectrum[k];
    if (n == 0)
        return false;
    std::nth_element(around.begin(), around.begin() + n / 2, around.begin() + n);
    return spectrum[peak] > 0.0 && spectrum[peak] >= contrast * around[n / 2];
}

}  // namespace wowfix
