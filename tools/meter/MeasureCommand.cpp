#include "tools/meter/MeasureCommand.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <iostream>

#include "tools/meter/DeviationPlot.h"
#include "tools/meter/PngFile.h"

namespace wowfix::meter {

namespace {

struct MeasureOptions {
    std::string input;
    std::string plot;
    MeterSettings settings;
    bool help = false;
};

bool parseMeasureArguments(const std::vector<std::string>& args, MeasureOptions& options, std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word == "--help" || word == "-h") {
            options.help = true;
            return true;
        }
        if (word == "--tone" || word == "--plot") {
            if (i + 1 >= args.size()) {
                error = "option " + word + " needs a value";
                return false;
            }
            const std::string& value = args[++i];
            if (word == "--plot") {
                options.plot = value;
            } else if (value == "auto") {
                options.settings.toneHz.reset();
            } else {
                double hz = 0.0;
                const char* end = value.data() + value.size();
                const auto [ptr, ec] = std::from_chars(value.data(), end, hz);
                if (value.empty() || ec != std::errc() || ptr != end || !std::isfinite(hz) || hz <= 0.0) {
                    error = "bad --tone '" + value + "': a frequency in Hz, or auto";
                    return false;
                }
                options.settings.toneHz = hz;
            }
            continue;
        }
        if (word.rfind("--", 0) == 0) {
            error = "unknown option " + word + " (see --help)";
            return false;
        }
        if (!options.input.empty()) {
            error = "more than one input file: '" + options.input + "' and '" + word + "'";
            return false;
        }
        options.input = word;
    }
    if (options.input.empty()) {
        error = "no input file named (see --help)";
        return false;
    }
    return true;
}

std::string format(const char* pattern, double a, double b = 0.0, double c = 0.0) {
    char text[160];
    std::snprintf(text, sizeof(text), pattern, a, b, c);
    return text;
}

}  // namespace

std::string measureUsage() {
    return R"(usage: measure INPUT [--tone HZ|auto] [--plot OUT.png]

Reads the wow and flutter of INPUT from a steady test tone in it (channels
are mixed). The tone's instantaneous frequency gives the speed deviation
d = f / f_ref - 1, reported in percent:

  speed offset   mean of d (a constant speed error)
  drift          peak of the slow part of d, below 0.2 Hz
  unweighted     peak and RMS of d from 0.2 to 200 Hz
  weighted       2-sigma peak (exceeded 5 % of the time) and RMS of d
                 through the IEC 60386 / DIN 45507 weighting (4 Hz band-pass)

  --tone HZ      the tone's nominal frequency, f_ref (default 3150)
  --tone auto    measure the strongest tone; f_ref is its mean frequency
  --plot OUT.png write the deviation over time as a plot
  --help         this text
)";
}

std::string measurementReport(const std::string& path, const Measurement& m) {
    const WowFlutterFigures& f = m.figures;
    std::string r = "wow and flutter of '" + path + "' (" +
                    format("%.0f Hz, ", m.sampleRate) + std::to_string(m.channels) +
                    (m.channels == 1 ? " channel, " : " channels mixed, ") + format("%.3f s)\n", m.seconds);
    if (m.toneSearched)
        r += format("tone:          strongest at %.3f Hz, level %.1f dBFS; reference: its mean frequency\n",
                    m.meanHz, m.toneLevelDb);
    else
        r += format("tone:          %.3f Hz nominal, mean %.4f Hz, level %.1f dBFS\n", m.referenceHz, m.meanHz,
                    m.toneLevelDb);
    r += format("speed offset:  %+.4f %%\n", 100.0 * f.offset);
    r += format("drift:         %.4f %% peak (below %.1f Hz)\n", 100.0 * f.drift, kDriftHz);
    r += format("unweighted:    %.4f %% peak, %.4f %% RMS (0.2 to 200 Hz)\n", 100.0 * f.unweightedPeak,
                100.0 * f.unweightedRms);
    r += format("weighted:      %.4f %% 2-sigma peak, %.4f %% RMS (IEC 60386)\n", 100.0 * f.weightedPeak2Sigma,
                100.0 * f.weightedRms);
    const DeviationBands& b = m.bands;
    r += format("measured over: %.2f to %.2f s (the settled span)\n",
                b.startTime + static_cast<double>(b.settledBegin) / b.rate,
                b.startTime + static_cast<double>(b.settledEnd) / b.rate);
    if (m.toneFades) r += "note: the tone fades by more than 20 dB in places; the figures may be wrong there\n";
    return r;
}

int runMeasureCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    MeasureOptions options;
    std::string error;
    if (!parseMeasureArguments(args, options, error)) {
        err << "measure: " << error << "\n";
        return 1;
    }
    if (options.help) {
        out << measureUsage();
        return 0;
    }
    Measurement measurement;
    if (!measureFile(options.input, options.settings, measurement, error)) {
        err << "measure: " << error << "\n";
        return 1;
    }
    if (!options.plot.empty() && !writePng(plotDeviation(measurement.bands), options.plot, error)) {
        err << "measure: " << error << "\n";
        return 1;
    }
    out << measurementReport(options.input, measurement);
    if (!options.plot.empty()) out << "plot:          " << options.plot << "\n";
    return 0;
}

int runMeasureCommand(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + std::max(argc, 0));
    return runMeasureCommand(args, std::cout, std::cerr);
}

}  // namespace wowfix::meter
