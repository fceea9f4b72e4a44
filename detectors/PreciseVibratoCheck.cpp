#include "detectors/PreciseVibratoCheck.h"

#include <algorithm>
#include <cmath>

namespace wowfix {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kRateStep = 0.25;
}

double periodicDeviation(const std::vector<double>& values, double step, double low, double high)
{
    double n = 0.0, mean = 0.0;
    for (double v : values)
        if (std::isfinite(v)) {
            mean += v;
            n += 1.0;
        }
    if (n < 4.0 || !(step > 0.0))
        return 0.0;
    mean /= n;
    double largest = 0.0;
    for (double v : values)
        if (std::isfinite(v))
            largest = std::max(largest, std::fabs(v - mean));

    // Least squares of d = m + k t + a c + b s: the constant and the slope
    // (a slow wow across the note) are projected out of c, s and d first.
    double S1 = 0, St = 0, Stt = 0, Sd = 0, Std = 0;
    {
        double t = 0.0;
        for (double v : values) {
            if (std::isfinite(v)) {
                const double d = v - mean;
                S1 += 1; St += t; Stt += t * t; Sd += d; Std += t * d;
            }
            t += 1.0;
        }
    }
    const double G = S1 * Stt - St * St;
    if (!(G > 0.0))
        return 0.0;
    // <u, v> with the line taken out, from the plain sums.
    const auto inner = [&](double uv, double u1, double ut, double v1, double vt) {
        const double p1 = (Stt * v1 - St * vt) / G, pt = (S1 * vt - St * v1) / G;
        return uv - u1 * p1 - ut * pt;
    };
    double best = 0.0;
    for (double rate = low; rate <= high + 1e-9; rate += kRateStep) {
        // The angle advances by a fixed turn per value.
        const double turn = 2.0 * kPi * rate * step;
        const double ct = std::cos(turn), st = std::sin(turn);
        double c = 1.0, s = 0.0, t = 0.0;
        double Sc = 0, Ss = 0, Stc = 0, Sts = 0, Scc = 0, Sss = 0, Scs = 0, Sdc = 0, Sds = 0;
        for (double v : values) {
            if (std::isfinite(v)) {
                const double d = v - mean;
                Sc += c; Ss += s; Stc += t * c; Sts += t * s;
                Scc += c * c; Sss += s * s; Scs += c * s; Sdc += d * c; Sds += d * s;
            }
            const double nc = c * ct - s * st;
            s = s * ct + c * st;
            c = nc;
            t += 1.0;
        }
        const double A = inner(Scc, Sc, Stc, Sc, Stc), B = inner(Scs, Sc, Stc, Ss, Sts), C = inner(Sss, Ss, Sts, Ss, Sts);
        const double u = inner(Sdc, Sc, Stc, Sd, Std), w = inner(Sds, Ss, Sts, Sd, Std);
        const double det = A * C - B * B;
        if (!(det > 1e-6 * S1 * S1))
            continue;
        const double a = (u * C - w * B) / det, b = (A * w - B * u) / det;
        best = std::max(best, std::hypot(a, b));
    }
    return std::min(best, largest);
}

double steadinessWeight(double depth, double limit)
{
    if (!(limit > 0.0))
        return 1.0;
    const double q = depth / limit;
    return 1.0 / (1.0 + q * q * q * q);
}

}  // namespace wowfix
