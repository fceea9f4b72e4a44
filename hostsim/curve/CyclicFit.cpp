#include "hostsim/curve/CyclicFit.h"

#include <algorithm>
#include <cmath>

#include "hostsim/curve/LeastSquares.h"
#include "hostsim/curve/UniformCurve.h"

namespace wowfix::curve {

namespace {

struct Sample {
    double t;  // seconds
    double d;  // deviation
};

class CyclicModel {
public:
    CyclicModel(double period, int harmonics, double centre, double halfSpan)
        : omega_(2.0 * M_PI / period), harmonics_(harmonics), centre_(centre), halfSpan_(halfSpan) {}

    std::size_t unknowns() const { return 2 + 4 * static_cast<std::size_t>(harmonics_); }
    double tau(double t) const { return std::clamp((t - centre_) / halfSpan_, -1.0, 1.0); }

    void row(double t, std::vector<double>& r) const {
        r.assign(unknowns(), 0.0);
        const double x = tau(t);
        r[0] = 1.0;
        r[1] = x;
        for (int k = 1; k <= harmonics_; ++k) {
            const double c = std::cos(k * omega_ * t);
            const double s = std::sin(k * omega_ * t);
            const std::size_t base = 2 + 4 * static_cast<std::size_t>(k - 1);
            r[base] = c;
            r[base + 1] = x * c;
            r[base + 2] = s;
            r[base + 3] = x * s;
        }
    }

    double value(double t, const std::vector<double>& c) const {
        std::vector<double> r;
        row(t, r);
        double d = 0.0;
        for (std::size_t i = 0; i < r.size(); ++i) d += r[i] * c[i];
        return d;
    }

    // The written curve: the fit without its linear drift term.
    double periodicValue(double t, const std::vector<double>& c) const { return value(t, c) - c[1] * tau(t); }

private:
    double omega_;
    int harmonics_;
    double centre_;
    double halfSpan_;
};

bool inStretches(double t, const std::vector<Stretch>& stretches) {
    if (stretches.empty()) return true;
    for (const Stretch& s : stretches)
        if (t >= s.from && t <= s.to) return true;
    return false;
}

}  // namespace

bool fitCyclic(const SpeedCurve& curve, double sampleRate, const CyclicSettings& settings, CyclicResult& result,
               std::string& error) {
    if (!(settings.periodSeconds > 0.0) || settings.harmonics < 1 || !(sampleRate > 0.0)) {
        error = "the period, the number of harmonics and the sample rate must be above 0";
        return false;
    }
    const UniformCurve grid = sampleUniform(curve, naturalStep(curve));
    std::vector<Sample> samples;
    for (std::size_t i = 0; i < grid.values.size(); ++i) {
        const double t = static_cast<double>(grid.positionOf(i)) / sampleRate;
        if (inStretches(t, settings.stretches)) samples.push_back({t, grid.values[i] - 1.0});
    }
    if (samples.empty()) {
        error = "no point of the curve lies in the stretches given";
        return false;
    }
    const double first = samples.front().t;
    const double last = samples.back().t;
    const CyclicModel model(settings.periodSeconds, settings.harmonics, 0.5 * (first + last),
                            std::max(0.5 * (last - first), 1e-9));
    std::vector<double> coefficients;
    std::vector<bool> used(samples.size(), true);
    std::vector<double> r;
    for (int pass = 0; pass < 2; ++pass) {
        LeastSquares fit(model.unknowns());
        std::size_t count = 0;
        for (std::size_t i = 0; i < samples.size(); ++i) {
            if (!used[i]) continue;
            model.row(samples[i].t, r);
            fit.addRow(r, samples[i].d);
            ++count;
        }
        if (count < 2 * model.unknowns() || !fit.solve(coefficients)) {
            error = "the stretches hold too few points (or cover too little of a turn) to fit " +
                    std::to_string(settings.harmonics) + " harmonics";
            return false;
        }
        result.samplesUsed = count;
        if (pass == 1) break;
        double squares = 0.0;
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const double e = samples[i].d - model.value(samples[i].t, coefficients);
            squares += e * e;
        }
        const double limit = 4.0 * std::sqrt(squares / static_cast<double>(samples.size()));
        for (std::size_t i = 0; i < samples.size(); ++i)
            used[i] = std::fabs(samples[i].d - model.value(samples[i].t, coefficients)) <= limit;
    }
    result.fundamentalPeak = std::hypot(coefficients[2], coefficients[4]);
    UniformCurve out;
    out.start = 0;
    out.step = grid.step;
    out.end = curve.lastPosition();
    for (std::int64_t p = 0; p <= out.end; p += out.step)
        out.values.push_back(1.0 + model.periodicValue(static_cast<double>(p) / sampleRate, coefficients));
    result.curve = toSpeedCurve(out);
    CurvePoint& end = result.curve.points.back();
    end.value = 1.0 + model.periodicValue(static_cast<double>(end.position) / sampleRate, coefficients);
    return true;
}

}  // namespace wowfix::curve
