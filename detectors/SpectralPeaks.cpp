#include "detectors/SpectralPeaks.h"

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

}  // namespace wowfix
