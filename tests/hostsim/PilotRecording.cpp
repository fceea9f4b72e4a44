#include "PilotRecording.h"

#include "HostTestSupport.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

namespace hostsim_test {

double steadyStartSpeed(long long frame, long long frames, const SteadyStartDamage& damage) {
    const double t = static_cast<double>(frame) / 48000.0;
    const double u = static_cast<double>(frame) / static_cast<double>(frames);
    return 1.0 + 0.5 * damage.wow * (1.0 - std::cos(kTwoPi * 0.5 * t)) +
           0.5 * damage.flutter * (1.0 - std::cos(kTwoPi * 3.0 * t)) + damage.drift * u * u;
}

void writePilotRecording(const std::string& path, const PilotRecording& recording, const SpeedCurve& speed) {
    std::vector<float> pilot(static_cast<std::size_t>(recording.frames));
    std::vector<float> programme(pilot.size());
    double pilotPhase = 0.0;
    double programmePhase = 0.0;
    for (long long n = 0; n < recording.frames; ++n) {
        pilot[static_cast<std::size_t>(n)] = static_cast<float>(recording.pilotAmplitude * std::sin(pilotPhase));
        programme[static_cast<std::size_t>(n)] =
            static_cast<float>(recording.programmeAmplitude * std::sin(programmePhase));
        const double s = speed(n);
        pilotPhase = std::fmod(pilotPhase + kTwoPi * recording.pilotHz * s / recording.sampleRate, kTwoPi);
        programmePhase = std::fmod(programmePhase + kTwoPi * recording.programmeHz * s / recording.sampleRate, kTwoPi);
    }
    writeAudio(path, recording.channels, recording.sampleRate, recording.frames, [&](long long n, int channel) {
        const std::size_t i = static_cast<std::size_t>(n);
        return pilot[i] + (channel == 0 ? programme[i] : 0.5f * programme[i]);
    });
}

std::vector<CurvePoint> readCurve(const std::string& path) {
    std::vector<CurvePoint> curve;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        CurvePoint point;
        if (fields >> point.position >> point.value) curve.push_back(point);
    }
    return curve;
}

double curveAt(const std::vector<CurvePoint>& curve, long long frame) {
    if (curve.empty()) return NAN;
    if (frame <= curve.front().position) return curve.front().value;
    if (frame >= curve.back().position) return curve.back().value;
    const auto right = std::lower_bound(curve.begin(), curve.end(), frame,
                                        [](const CurvePoint& p, long long f) { return p.position < f; });
    const auto left = right - 1;
    if (right->position == frame) return right->value;
    const double t = static_cast<double>(frame - left->position) / static_cast<double>(right->position - left->position);
    return left->value + t * (right->value - left->value);
}

}  // namespace hostsim_test
