#include "hostsim/cli/CurveCommand.h"

#include <sndfile.h>

#include <cmath>
#include <map>

#include "hostsim/SndfileSource.h"
#include "hostsim/cli/Arguments.h"
#include "hostsim/cli/CurvePlot.h"
#include "hostsim/cli/HostSession.h"
#include "hostsim/curve/BandFilter.h"
#include "hostsim/curve/Centring.h"
#include "hostsim/curve/CurveJoin.h"
#include "hostsim/curve/CurveRate.h"
#include "hostsim/curve/CyclicFit.h"
#include "hostsim/curve/PvcText.h"
#include "hostsim/curve/TuningEstimate.h"
#include "tools/meter/PngFile.h"

namespace wowfix::hostsim {

namespace {

using namespace wowfix::curve;

// "--name value" or "--name=value" options (`uses` may repeat), flags and
// positional words.
struct CurveArgs {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;
    std::vector<std::string> uses;
    std::map<std::string, bool> flags;

    bool has(const std::string& name) const { return values.count(name) != 0; }
};

bool readArgs(const std::vector<std::string>& args, const std::vector<std::string>& valued,
              const std::vector<std::string>& flags, CurveArgs& out, std::string& error) {
    auto known = [](const std::vector<std::string>& list, const std::string& name) {
        for (const std::string& item : list)
            if (item == name) return true;
        return false;
    };
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
            out.positional.push_back(arg);
            continue;
        }
        std::string name = arg.substr(2);
        std::string value;
        bool hasValue = false;
        if (const std::size_t eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            hasValue = true;
        }
        if (known(flags, name)) {
            if (hasValue) {
                error = "option --" + name + " takes no value";
                return false;
            }
            out.flags[name] = true;
            continue;
        }
        if (!known(valued, name)) {
            error = "unknown option '" + arg + "'";
            return false;
        }
        if (!hasValue) {
            if (i + 1 >= args.size()) {
                error = "option --" + name + " needs a value";
                return false;
            }
            value = args[++i];
        }
        if (name == "use") {
            out.uses.push_back(value);
        } else if (out.has(name)) {
            error = "option --" + name + " given twice";
            return false;
        } else {
            out.values[name] = value;
        }
    }
    return true;
}

bool expectFiles(const CurveArgs& a, std::size_t count, const std::string& usage, std::string& error) {
    if (a.positional.size() == count) return true;
    error = a.positional.size() < count ? "missing arguments; usage: " + usage
                                        : "unexpected argument '" + a.positional[count] + "'";
    return false;
}

bool positiveNumber(const CurveArgs& a, const std::string& name, double& value, std::string& error) {
    if (parseNumber(a.values.at(name), value) && value > 0.0) return true;
    error = "bad --" + name + " '" + a.values.at(name) + "': expected a number above 0";
    return false;
}

// --rate HZ or the rate of --audio FILE.
bool sampleRateOf(const CurveArgs& a, double& rate, std::string& error) {
    if (a.has("rate") == a.has("audio")) {
        error = "give the curve's sampling rate: --rate HZ or --audio FILE";
        return false;
    }
    if (a.has("rate")) return positiveNumber(a, "rate", rate, error);
    std::unique_ptr<SndfileSource> source = SndfileSource::open(a.values.at("audio"), error);
    if (!source) return false;
    rate = source->sampleRate();
    return true;
}

int written(const std::string& path, const SpeedCurve& curve, std::ostream& err) {
    std::string error;
    if (!writePvcFile(path, curve, error)) return failWith(err, error);
    return kExitSuccess;
}

int runBand(const CurveArgs& a, std::ostream& out, std::ostream& err) {
    std::string error;
    if (!expectFiles(a, 2, "wowfix-host curve band CURVE.pvc OUT.pvc --keep LO:HI", error))
        return failWith(err, error, kExitUsage);
    const int choices = int(a.has("keep")) + int(a.has("wow")) + int(a.flags.count("flutter"));
    if (choices != 1) return failWith(err, "band needs one of --keep LO:HI, --wow slow|medium|fast, --flutter", kExitUsage);
    Band band;
    if (a.has("keep")) {
        if (!parseNumberRange(a.values.at("keep"), band.low, band.high, error) || band.low < 0.0)
            return failWith(err, "bad --keep '" + a.values.at("keep") + "': expected LO:HI in Hz, 0 <= LO < HI",
                            kExitUsage);
    } else if (a.has("wow")) {
        if (!wowPreset(a.values.at("wow"), band))
            return failWith(err, "bad --wow '" + a.values.at("wow") + "': expected slow, medium or fast", kExitUsage);
    } else {
        band = flutterBand();
    }
    double rate = 0.0;
    if (!sampleRateOf(a, rate, error)) return failWith(err, error, kExitUsage);
    SpeedCurve curve, result;
    if (!readPvcFile(a.positional[0], curve, error)) return failWith(err, error);
    if (!keepBand(curve, rate, band, result, error)) return failWith(err, a.positional[0] + ": " + error);
    out << "kept " << band.low << " ... " << band.high << " Hz: " << result.points.size() << " points\n";
    return written(a.positional[1], result, err);
}

// The tuning of `path`'s programme (channels mixed), in cents from A4 = a4.
bool tuningOf(const std::string& path, double a4, double& cents, std::string& error) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        error = path + ": " + sf_strerror(nullptr);
        return false;
    }
    TuningEstimate estimate(info.samplerate);
    std::vector<float> block(4096 * static_cast<std::size_t>(info.channels));
    std::vector<float> mono(4096);
    sf_count_t frames = 0;
    while ((frames = sf_readf_float(file, block.data(), 4096)) > 0) {
        for (sf_count_t i = 0; i < frames; ++i) {
            double sum = 0.0;
            for (int c = 0; c < info.channels; ++c) sum += block[static_cast<std::size_t>(i * info.channels + c)];
            mono[static_cast<std::size_t>(i)] = static_cast<float>(sum / info.channels);
        }
        estimate.add(mono.data(), static_cast<std::size_t>(frames));
    }
    sf_close(file);
    if (!estimate.offsetCents(a4, cents, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

int runCentre(const CurveArgs& a, std::ostream& out, std::ostream& err) {
    std::string error;
    const char* usage = "wowfix-host curve centre CURVE.pvc OUT.pvc --mean | --pitch A4=HZ --from INPUT";
    if (!expectFiles(a, 2, usage, error)) return failWith(err, error, kExitUsage);
    const bool byPitch = a.has("pitch");
    if (a.flags.count("mean") == (byPitch ? 1u : 0u))
        return failWith(err, std::string("centre needs one of --mean, --pitch A4=HZ; usage: ") + usage, kExitUsage);
    double a4 = 0.0;
    if (byPitch) {
        const std::string& text = a.values.at("pitch");
        if (text.rfind("A4=", 0) != 0 || !parseNumber(text.substr(3), a4) || a4 < 200.0 || a4 > 600.0)
            return failWith(err, "bad --pitch '" + text + "': expected A4=HZ, e.g. A4=440", kExitUsage);
        if (!a.has("from")) return failWith(err, "--pitch needs the audio: --from INPUT", kExitUsage);
    } else if (a.has("from")) {
        return failWith(err, "--from belongs to --pitch", kExitUsage);
    }
    SpeedCurve curve;
    if (!readPvcFile(a.positional[0], curve, error)) return failWith(err, error);
    const double mean = timeMean(curve);
    if (!byPitch) {
        out << "mean speed " << mean << " made 1\n";
        return written(a.positional[1], centreMean(curve), err);
    }
    // Corrected along k·curve, the programme sounds 1200·log2(k·mean) cents
    // lower than it was: k makes that the offset found.
    double cents = 0.0;
    if (!tuningOf(a.values.at("from"), a4, cents, error)) return failWith(err, error);
    const double factor = std::pow(2.0, cents / 1200.0) / mean;
    out << "programme " << cents << " cents from A4 = " << a4 << " Hz; curve scaled by " << factor << "\n";
    return written(a.positional[1], scaled(curve, factor), err);
}

bool parseStretch(const std::string& text, Stretch& s, std::string& error) {
    if (!parseNumberRange(text, s.from, s.to, error) || s.from < 0.0) {
        error = "bad --use '" + text + "': expected FROM:TO in seconds, 0 <= FROM < TO";
        return false;
    }
    return true;
}

int runCyclic(const CurveArgs& a, std::ostream& out, std::ostream& err) {
    std::string error;
    if (!expectFiles(a, 2, "wowfix-host curve cyclic CURVE.pvc OUT.pvc --rpm RPM | --period SECONDS", error))
        return failWith(err, error, kExitUsage);
    if (a.has("rpm") == a.has("period")) return failWith(err, "cyclic needs one of --rpm RPM, --period SECONDS", kExitUsage);
    CyclicSettings settings;
    double value = 0.0;
    if (a.has("rpm")) {
        if (!positiveNumber(a, "rpm", value, error)) return failWith(err, error, kExitUsage);
        settings.periodSeconds = rotationPeriod(value);
    } else {
        if (!positiveNumber(a, "period", value, error)) return failWith(err, error, kExitUsage);
        settings.periodSeconds = value;
    }
    if (a.has("harmonics")) {
        long long n = 0;
        if (!parseWholeNumber(a.values.at("harmonics"), n) || n < 1 || n > 20)
            return failWith(err, "bad --harmonics '" + a.values.at("harmonics") + "': expected 1 ... 20", kExitUsage);
        settings.harmonics = static_cast<int>(n);
    }
    for (const std::string& text : a.uses) {
        Stretch s;
        if (!parseStretch(text, s, error)) return failWith(err, error, kExitUsage);
        settings.stretches.push_back(s);
    }
    double rate = 0.0;
    if (!sampleRateOf(a, rate, error)) return failWith(err, error, kExitUsage);
    SpeedCurve curve;
    if (!readPvcFile(a.positional[0], curve, error)) return failWith(err, error);
    CyclicResult result;
    if (!fitCyclic(curve, rate, settings, result, error)) return failWith(err, a.positional[0] + ": " + error);
    out << "period " << settings.periodSeconds << " s, " << settings.harmonics << " harmonics from "
        << result.samplesUsed << " points: first harmonic " << 100.0 * result.fundamentalPeak << " % peak\n";
    return written(a.positional[1], result.curve, err);
}

int runJoin(const CurveArgs& a, std::ostream& out, std::ostream& err) {
    if (a.positional.size() < 3)
        return failWith(err, "missing arguments; usage: wowfix-host curve join A.pvc B.pvc ... OUT.pvc", kExitUsage);
    std::string error;
    std::vector<NamedCurve> curves;
    for (std::size_t i = 0; i + 1 < a.positional.size(); ++i) {
        NamedCurve c{a.positional[i], {}};
        if (!readPvcFile(c.name, c.curve, error)) return failWith(err, error);
        curves.push_back(std::move(c));
    }
    JoinResult result;
    if (!joinCurves(curves, result, error)) return failWith(err, error);
    for (std::size_t i = 0; i < curves.size(); ++i) out << curves[i].name << ": factor " << result.factors[i] << "\n";
    return written(a.positional.back(), result.curve, err);
}

int runPlot(const CurveArgs& a, std::ostream& err) {
    std::string error;
    if (!expectFiles(a, 2, "wowfix-host curve plot CURVE.pvc OUT.png [--true TRUE.pvc]", error))
        return failWith(err, error, kExitUsage);
    double rate = 0.0;
    if (!sampleRateOf(a, rate, error)) return failWith(err, error, kExitUsage);
    SpeedCurve curve, truth;
    if (!readPvcFile(a.positional[0], curve, error)) return failWith(err, error);
    if (a.has("true") && !readPvcFile(a.values.at("true"), truth, error)) return failWith(err, error);
    const meter::RgbImage image = plotCurve(curve, a.has("true") ? &truth : nullptr, rate);
    if (!meter::writePng(image, a.positional[1], error)) return failWith(err, error);
    return kExitSuccess;
}

int runRate(const CurveArgs& a, std::ostream& out, std::ostream& err) {
    std::string error;
    if (!expectFiles(a, 2, "wowfix-host curve rate CURVE.pvc OUT.pvc --curve-rate HZ --audio TARGET", error))
        return failWith(err, error, kExitUsage);
    if (!a.has("curve-rate") || !a.has("audio"))
        return failWith(err, "rate needs --curve-rate HZ (the curve's) and --audio TARGET (the file it is for)",
                        kExitUsage);
    double curveRate = 0.0;
    double tolerance = kLengthToleranceSeconds;
    if (!positiveNumber(a, "curve-rate", curveRate, error)) return failWith(err, error, kExitUsage);
    if (a.has("tolerance") && !positiveNumber(a, "tolerance", tolerance, error)) return failWith(err, error, kExitUsage);
    std::unique_ptr<SndfileSource> target = SndfileSource::open(a.values.at("audio"), error);
    if (!target) return failWith(err, error);
    SpeedCurve curve, result;
    if (!readPvcFile(a.positional[0], curve, error)) return failWith(err, error);
    if (!rescaleCurve(curve, curveRate, target->sampleRate(), target->frames(), tolerance, result, error))
        return failWith(err, a.positional[0] + ": " + error);
    out << "positions scaled by " << target->sampleRate() / curveRate << "\n";
    return written(a.positional[1], result, err);
}

}  // namespace

int runCurve(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) return failWith(err, "curve needs a step: band, centre, cyclic, join, plot or rate", kExitUsage);
    const std::string& step = args[0];
    CurveArgs a;
    std::string error;
    std::vector<std::string> valued, flags;
    if (step == "band") valued = {"keep", "wow", "rate", "audio"}, flags = {"flutter"};
    else if (step == "centre") valued = {"pitch", "from"}, flags = {"mean"};
    else if (step == "cyclic") valued = {"rpm", "period", "harmonics", "use", "rate", "audio"};
    else if (step == "join") {}
    else if (step == "plot") valued = {"true", "rate", "audio"};
    else if (step == "rate") valued = {"curve-rate", "audio", "tolerance"};
    else return failWith(err, "unknown curve step '" + step + "' (band, centre, cyclic, join, plot, rate)", kExitUsage);
    if (!readArgs(args, valued, flags, a, error)) return failWith(err, error, kExitUsage);
    if (step == "band") return runBand(a, out, err);
    if (step == "centre") return runCentre(a, out, err);
    if (step == "cyclic") return runCyclic(a, out, err);
    if (step == "join") return runJoin(a, out, err);
    if (step == "plot") return runPlot(a, err);
    return runRate(a, out, err);
}

}  // namespace wowfix::hostsim
