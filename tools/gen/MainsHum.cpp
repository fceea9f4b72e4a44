#include "tools/gen/MainsHum.h"

#include "tools/gen/SineTones.h"

namespace wowfix::gen {

MainsHum::MainsHum(double frequency, double amplitude, DriftCurve drift)
    : frequency_(frequency), amplitude_(amplitude), drift_(std::move(drift)) {}

double MainsHum::value(double u) const {
    if (amplitude_ == 0.0) return 0.0;
    return amplitude_ * sineOfCycles(frequency_, u + drift_.integral(u));
}

double MainsHum::frequencyAt(double u) const { return frequency_ * (1.0 + drift_.value(u)); }

}  // namespace wowfix::gen
