#include "hostsim/cli/DemoCommand.h"

#include "hostsim/cli/AutoCommand.h"
#include "hostsim/cli/CurvePoints.h"
#include "hostsim/cli/HostSession.h"
#include "hostsim/cli/TemporaryFolder.h"
#include "tools/gen/GenerateFiles.h"
#include "tools/gen/GeneratorSettings.h"
#include "tools/meter/DeviationPlot.h"
#include "tools/meter/PngFile.h"
#include "tools/meter/WowFlutterMeter.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace wowfix::hostsim {

namespace {

constexpr int kRate = 48000;
constexpr int kChannels = 2;
constexpr double kSeconds = 20.0;
constexpr double kWowPercent = 0.3;
constexpr double kWowHz = 0.5;
constexpr double kFlutterPercent = 0.1;
constexpr double kFlutterHz = 6.0;
constexpr double kDriftPercent = 0.2;
constexpr double kPilotHz = 19000.0;
constexpr double kPilotDb = -30.0;
constexpr double kTestToneDb = -20.0;

int failDemo(std::ostream& err, const std::string& message) { return failWith(err, "demo: " + message); }

gen::GeneratorSettings damage() {
    gen::GeneratorSettings s;
    s.sampleRate = kRate;
    s.channels = kChannels;
    s.seconds = kSeconds;
    s.programme.kind = gen::ProgrammeKind::Music;
    s.wow = gen::PeriodicDamage{kWowPercent, kWowHz};
    s.flutter = gen::PeriodicDamage{kFlutterPercent, kFlutterHz};
    s.driftPercent = kDriftPercent;
    s.pilot = gen::ToneLevel{kPilotHz, kPilotDb};
    s.testToneLevel = kTestToneDb;
    return s;
}

bool measure(const std::string& audio, const std::string& plot, meter::Measurement& m, std::string& error) {
    if (!meter::measureFile(audio, meter::MeterSettings{}, m, error)) {
        error = "cannot measure '" + audio + "': " + error;
        return false;
    }
    return meter::writePng(meter::plotDeviation(m.bands), plot, error);
}

std::string percent(double ratio, bool sign = false) {
    char text[32];
    std::snprintf(text, sizeof text, sign ? "%+.4f %%" : "%.4f %%", 100.0 * ratio);
    return text;
}

void row(std::ostream& out, const char* what, double before, double after, bool sign = false) {
    char line[160];
    std::snprintf(line, sizeof line, "  %-36s %11s %11s\n", what, percent(before, sign).c_str(),
                  percent(after, sign).c_str());
    out << line;
}

}  // namespace

int runDemo(const DemoOptions& options, std::ostream& out, std::ostream& err) {
    std::string folder;
    std::string error;
    if (!makeTemporaryFolder("wowfix-demo-", folder, error)) return failDemo(err, error);
    const std::string damaged = folder + "/damaged.wav";
    const std::string truth = folder + "/true.pvc";
    const std::string detected = folder + "/detected.pvc";
    const std::string corrected = folder + "/corrected.wav";
    const std::string picture = folder + "/spectrogram.png";
    const std::string damagedPlot = folder + "/damaged-deviation.png";
    const std::string correctedPlot = folder + "/corrected-deviation.png";

    const gen::GeneratorSettings settings = damage();
    gen::GenerationSummary generated;
    if (!gen::generateFiles(settings, gen::OutputTargets{damaged, truth, "wav"}, generated, error))
        return failDemo(err, "cannot make the damaged recording: " + error);
    meter::Measurement before;
    if (!measure(damaged, damagedPlot, before, error)) return failDemo(err, error);

    AutoOptions correction;
    correction.input = damaged;
    correction.output = corrected;
    correction.algorithm = "pilot";
    correction.pvcOut = detected;
    correction.png = picture;
    correction.plugin = options.plugin;
    correction.quiet = options.quiet;
    if (runAuto(correction, err) != kExitSuccess) return failDemo(err, "the correction failed; the files are in " + folder);

    meter::Measurement after;
    if (!measure(corrected, correctedPlot, after, error)) return failDemo(err, error);
    std::vector<CurvePoint> trueCurve;
    std::vector<CurvePoint> foundCurve;
    if (!readCurvePoints(truth, trueCurve) || !readCurvePoints(detected, foundCurve))
        return failDemo(err, "cannot read the curves back from " + folder);
    const CurveDifference difference = compareCurves(foundCurve, trueCurve, generated.frames);
    const double varying =
        std::sqrt(std::max(0.0, difference.rms * difference.rms - difference.mean * difference.mean));

    char line[256];
    std::snprintf(line, sizeof line,
                  "wowfix demo: %.0f s of music at %d Hz, %s, with a %.0f Hz test tone (%.0f dBFS)\n"
                  "and a %.0f Hz pilot (%.0f dBFS), damaged by wow %.1f %% at %.1f Hz, flutter %.1f %% at %.0f Hz\n",
                  kSeconds, kRate, kChannels == 2 ? "stereo" : "mono", gen::kTestToneFrequency, kTestToneDb,
                  kPilotHz, kPilotDb, kWowPercent, kWowHz, kFlutterPercent, kFlutterHz);
    out << line;
    std::snprintf(line, sizeof line, "and drift %.1f %%; corrected by the plug-in along the curve it found from the "
                  "pilot.\n\n", kDriftPercent);
    out << line;
    std::snprintf(line, sizeof line, "  %-36s %11s %11s\n", "the test tone's speed deviation", "damaged", "corrected");
    out << line;
    row(out, "weighted 2-sigma peak (IEC 60386)", before.figures.weightedPeak2Sigma, after.figures.weightedPeak2Sigma);
    row(out, "unweighted peak (0.2 to 200 Hz)", before.figures.unweightedPeak, after.figures.unweightedPeak);
    row(out, "unweighted RMS (0.2 to 200 Hz)", before.figures.unweightedRms, after.figures.unweightedRms);
    row(out, "drift, peak (below 0.2 Hz)", before.figures.drift, after.figures.drift);
    row(out, "speed offset", before.figures.offset, after.figures.offset, true);
    const meter::DeviationBands& span = after.bands;
    std::snprintf(line, sizeof line, "  (measured from %.1f to %.1f s, where the meter's filters have settled)\n",
                  span.startTime + static_cast<double>(span.settledBegin) / span.rate,
                  span.startTime + static_cast<double>(span.settledEnd) / span.rate);
    out << line;
    out << "\nthe curve found against the true curve, over every frame:\n"
        << "  RMS error " << percent(difference.rms) << ", largest " << percent(difference.largest) << "\n"
        << "  constant part " << percent(difference.mean, true) << ", the rest " << percent(varying) << " RMS\n"
        << "  (the pilot gives the speed relative to the file's first frames: their speed error stays)\n\n";
    out << "files in " << folder << ":\n"
        << "  damaged.wav              the damaged recording\n"
        << "  true.pvc                 its true curve\n"
        << "  detected.pvc             the curve the plug-in found\n"
        << "  corrected.wav            the corrected recording\n"
        << "  spectrogram.png          the plug-in's spectrogram of the damaged recording\n"
        << "  damaged-deviation.png    the test tone's deviation over time, before\n"
        << "  corrected-deviation.png  and after\n";
    return kExitSuccess;
}

}  // namespace wowfix::hostsim
