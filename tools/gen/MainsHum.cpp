#include "tools/gen/MainsHum.h"

#include "tools/gen/SineTones.h"

namespace wowfix::gen {

MainsHum::MainsHum(double frequency, double amplitude, DriftCurve drift, bool harmonics)
    : frequency_(frequency), amplitude_(amplitude), drift_(std::move(drift)), harmonics_(harmonics) {}

double MainsHum::value(double u) const {
    if (amplitude_ == 0.0) return 0.0;
    const double v = u + drift_.integral(u);
    double hum = sineOfCycles(frequency_, v);
    if (harmonics_) hum += 0.5012 * sineOfCycles(2.0 * frequency_, v) + 0.3162 * sineOfCycles(3.0 * frequency_, v);
    return amplitude_ * hum;
}

double MainsHum::frequencyAt(double u) const { return frequency_ * (1.0 + drift_.value(u)); }

}  // namespace wowfix::gen
