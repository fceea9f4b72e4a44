#pragma once
// Recordings with a pilot tone whose speed follows a known curve, and .pvc
// files read back, for the detection round trips.

#include <functional>
#include <string>
#include <vector>

namespace hostsim_test {

// Speed ratio of the recording at a frame (1.0 nominal, 1.01 one per cent fast).
using SpeedCurve = std::function<double(long long frame)>;

struct PilotRecording {
    int sampleRate = 48000;
    long long frames = 0;
    int channels = 2;
    double pilotHz = 19000.0;
    double pilotAmplitude = 0.03;  // about -30 dB
    double programmeHz = 1000.0;   // a steady tone played at the same speed
    double programmeAmplitude = 0.3;
};

// Wow at 0.5 Hz and flutter at 3 Hz that start from nominal speed with zero
// slope (a tracker measures against the first frames), each swinging from 0
// up to its depth, on a drift that rises with the square of the time to its
// depth at the end of the file. Depths as ratios: 0.003 is 0.3 %.
struct SteadyStartDamage {
    double wow = 0.0;
    double flutter = 0.0;
    double drift = 0.0;
};

// The speed of a 48 kHz recording of `frames` frames with `damage` at a frame.
double steadyStartSpeed(long long frame, long long frames, const SteadyStartDamage& damage);

// Writes the recording as float WAV. Every tone's phase advances by
// 2 pi f speed(n) / fs from frame n to n + 1, in double precision, so its
// frequency at frame n is f speed(n). Both channels carry the pilot; the
// right one has the programme at half level.
void writePilotRecording(const std::string& path, const PilotRecording& recording, const SpeedCurve& speed);

struct CurvePoint {
    long long position = 0;
    double value = 0.0;
};

// The "position value" lines of a .pvc file; empty when it cannot be read.
std::vector<CurvePoint> readCurve(const std::string& path);
// The curve at `frame`, linear between its points and held beyond its ends.
double curveAt(const std::vector<CurvePoint>& curve, long long frame);

}  // namespace hostsim_test
