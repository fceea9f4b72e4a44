#include "hostsim/cli/CommandLine.h"

#include "hostsim/OfflineHost.h"
#include "hostsim/cli/Arguments.h"
#include "hostsim/cli/DetectionAlgorithm.h"

#include <map>

namespace wowfix::hostsim {

namespace {

// The arguments of one command: positional ones and "--name value" (or
// "--name=value") options; flags take no value; repeatable options may be
// given any number of times.
class OptionReader {
public:
    OptionReader(const std::vector<std::string>& args, std::size_t first) : args_(args), next_(first) {}

    // Reads everything; `valued` are the options that take a value, `flags`
    // those that do not, `repeatable` those that take a value each time.
    bool read(const std::vector<std::string>& valued, const std::vector<std::string>& flags, std::string& error,
              const std::vector<std::string>& repeatable = {}) {
        bool optionsEnded = false;
        for (; next_ < args_.size(); ++next_) {
            const std::string& arg = args_[next_];
            if (optionsEnded || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
                positional_.push_back(arg);
                continue;
            }
            if (arg == "--") {
                optionsEnded = true;
                continue;
            }
            std::string name = arg.substr(2);
            std::string value;
            bool hasValue = false;
            const std::size_t equals = name.find('=');
            if (equals != std::string::npos) {
                value = name.substr(equals + 1);
                name = name.substr(0, equals);
                hasValue = true;
            }
            if (contains(flags, name)) {
                if (hasValue) {
                    error = "option --" + name + " takes no value";
                    return false;
                }
                flags_[name] = true;
                continue;
            }
            const bool repeats = contains(repeatable, name);
            if (!repeats && !contains(valued, name)) {
                error = "unknown option '" + arg + "'";
                return false;
            }
            if (!hasValue) {
                if (next_ + 1 >= args_.size()) {
                    error = "option --" + name + " needs a value";
                    return false;
                }
                value = args_[++next_];
            }
            if (repeats) {
                lists_[name].push_back(value);
                continue;
            }
            if (values_.count(name) != 0) {
                error = "option --" + name + " given twice";
                return false;
            }
            values_[name] = value;
        }
        return true;
    }

    const std::vector<std::string>& positional() const { return positional_; }
    bool has(const std::string& name) const { return values_.count(name) != 0; }
    const std::string& value(const std::string& name) const { return values_.at(name); }
    bool flag(const std::string& name) const { return flags_.count(name) != 0; }
    std::vector<std::string> values(const std::string& name) const {
        const auto found = lists_.find(name);
        return found == lists_.end() ? std::vector<std::string>() : found->second;
    }

private:
    static bool contains(const std::vector<std::string>& list, const std::string& name) {
        for (const std::string& item : list)
            if (item == name) return true;
        return false;
    }

    const std::vector<std::string>& args_;
    std::size_t next_;
    std::vector<std::string> positional_;
    std::map<std::string, std::string> values_;
    std::map<std::string, bool> flags_;
    std::map<std::string, std::vector<std::string>> lists_;
};

bool readBlockSize(const OptionReader& reader, int& blockSize, std::string& error) {
    if (!reader.has("block")) return true;
    long long value = 0;
    if (!parseWholeNumber(reader.value("block"), value) || value < 1 || value > OfflineHost::kMaxBlockSize) {
        error = "bad block size '" + reader.value("block") + "': expected a whole number 1 ... " +
                std::to_string(OfflineHost::kMaxBlockSize);
        return false;
    }
    blockSize = static_cast<int>(value);
    return true;
}

bool expectPositional(const OptionReader& reader, std::size_t count, const char* usage, std::string& error) {
    if (reader.positional().size() == count) return true;
    error = reader.positional().size() < count ? std::string("missing arguments; usage: ") + usage
                                               : "unexpected argument '" + reader.positional()[count] + "'";
    return false;
}

bool parseInfo(const std::vector<std::string>& args, InfoOptions& options, std::string& error) {
    OptionReader reader(args, 1);
    if (!reader.read({"plugin"}, {}, error)) return false;
    if (!expectPositional(reader, 0, "wowfix-host info [--plugin PATH]", error)) return false;
    if (reader.has("plugin")) options.plugin = reader.value("plugin");
    return true;
}

bool parseCorrect(const std::vector<std::string>& args, CorrectOptions& options, std::string& error) {
    OptionReader reader(args, 1);
    if (!reader.read({"pvc", "block", "selection", "format", "plugin"}, {"quiet"}, error)) return false;
    if (!expectPositional(reader, 2, "wowfix-host correct INPUT OUTPUT --pvc CURVE.pvc", error)) return false;
    options.input = reader.positional()[0];
    options.output = reader.positional()[1];
    if (!reader.has("pvc") || reader.value("pvc").empty()) {
        error = "correct needs the curve: --pvc CURVE.pvc";
        return false;
    }
    options.pvc = reader.value("pvc");
    if (!readBlockSize(reader, options.blockSize, error)) return false;
    if (reader.has("selection")) {
        std::string why;
        if (!parseFrameRange(reader.value("selection"), options.selectionStart, options.selectionEnd, why)) {
            error = "bad selection '" + reader.value("selection") + "': " + why;
            return false;
        }
        options.hasSelection = true;
    }
    if (reader.has("format")) {
        options.format = reader.value("format");
        if (options.format.empty()) {
            error = "bad format '': expected a container name such as wav";
            return false;
        }
    }
    if (reader.has("plugin")) options.plugin = reader.value("plugin");
    options.quiet = reader.flag("quiet");
    return true;
}

bool parseWindow(const std::string& name, int& index) {
    if (name == "boxcar") index = 0;
    else if (name == "hann") index = 1;
    else if (name == "blackman") index = 2;
    else return false;
    return true;
}

bool parseSpectrogram(const std::vector<std::string>& args, SpectrogramOptions& options, std::string& error) {
    OptionReader reader(args, 1);
    if (!reader.read({"fft", "window", "range", "levels", "size", "pvc", "plugin", "block"}, {"quiet"}, error))
        return false;
    if (!expectPositional(reader, 2, "wowfix-host spectrogram INPUT OUTPUT.png", error)) return false;
    options.input = reader.positional()[0];
    options.output = reader.positional()[1];
    if (reader.has("fft")) {
        long long n = 0;
        const bool whole = parseWholeNumber(reader.value("fft"), n);
        if (!whole || n < 16 || n > 8192 || (n & (n - 1)) != 0) {
            error = "bad transform length '" + reader.value("fft") + "': expected a power of two 16 ... 8192";
            return false;
        }
        options.fftLength = static_cast<int>(n);
    }
    if (reader.has("window") && !parseWindow(reader.value("window"), options.windowIndex)) {
        error = "bad window '" + reader.value("window") + "': expected boxcar, hann or blackman";
        return false;
    }
    if (reader.has("range")) {
        std::string why;
        if (!parseFrameRange(reader.value("range"), options.rangeStart, options.rangeEnd, why)) {
            error = "bad range '" + reader.value("range") + "': " + why;
            return false;
        }
        options.hasRange = true;
    }
    if (reader.has("levels")) {
        std::string why;
        if (!parseNumberRange(reader.value("levels"), options.lowDb, options.highDb, why)) {
            error = "bad levels '" + reader.value("levels") + "': " + why;
            return false;
        }
        if (options.lowDb < 0.0) {
            error = "bad levels '" + reader.value("levels") + "': levels are dB above the floor, 0 or more";
            return false;
        }
        options.hasLevels = true;
    }
    if (reader.has("size")) {
        std::string why;
        long long width = 0;
        long long height = 0;
        if (!parseSize(reader.value("size"), width, height, why)) {
            error = "bad size '" + reader.value("size") + "': " + why;
            return false;
        }
        if (width < 2 || width > SpectrogramOptions::kMaxWidth || height < 1 ||
            height > SpectrogramOptions::kMaxHeight) {
            error = "bad size '" + reader.value("size") + "': expected 2 ... 4096 columns and 1 ... 4096 rows";
            return false;
        }
        options.width = static_cast<int>(width);
        options.height = static_cast<int>(height);
    }
    if (!readBlockSize(reader, options.blockSize, error)) return false;
    if (reader.has("pvc")) options.pvc = reader.value("pvc");
    if (reader.has("plugin")) options.plugin = reader.value("plugin");
    options.quiet = reader.flag("quiet");
    return true;
}

bool readAlgorithm(const OptionReader& reader, const char* command, std::string& algorithm, std::string& error) {
    if (!reader.has("algorithm")) {
        error = std::string(command) + " needs --algorithm NAME (known: " + algorithmNames() + ")";
        return false;
    }
    algorithm = reader.value("algorithm");
    if (findAlgorithm(algorithm) != nullptr) return true;
    error = "unknown algorithm '" + algorithm + "' (known: " + algorithmNames() + ")";
    return false;
}

// Every "--param NAME=VALUE"; the names are checked against the detector's
// own when the plug-in is loaded.
bool readParameters(const OptionReader& reader, std::vector<ParameterSetting>& params, std::string& error) {
    for (const std::string& text : reader.values("param")) {
        const std::size_t equals = text.find('=');
        ParameterSetting setting;
        if (equals == std::string::npos || equals == 0) {
            error = "bad parameter '" + text + "': expected NAME=VALUE";
            return false;
        }
        setting.name = text.substr(0, equals);
        setting.text = text.substr(equals + 1);
        if (!parseNumber(setting.text, setting.value)) {
            error = "bad parameter '" + text + "': VALUE must be a number";
            return false;
        }
        params.push_back(setting);
    }
    return true;
}

bool parseDetect(const std::vector<std::string>& args, DetectOptions& options, std::string& error) {
    OptionReader reader(args, 1);
    if (!reader.read({"algorithm", "pvc", "block", "plugin", "line", "preprocessed"}, {"list-params", "quiet"}, error,
                     {"param", "area"}))
        return false;
    options.listParams = reader.flag("list-params");
    const char* usage = "wowfix-host detect INPUT --algorithm NAME --pvc OUT.pvc";
    if (options.listParams && reader.positional().empty()) {
        // The parameters can be listed without a file.
    } else if (!expectPositional(reader, 1, usage, error)) {
        return false;
    } else {
        options.input = reader.positional()[0];
    }
    if (!readAlgorithm(reader, "detect", options.algorithm, error)) return false;
    if ((!options.listParams || reader.has("line")) &&
        !readTonalLine(reader.has("line"), reader.has("line") ? reader.value("line") : "", options.algorithm,
                       options.line, error))
        return false;
    if (!readSpectralAreas(reader.values("area"), options.algorithm, options.areas, error)) return false;
    if (reader.has("pvc")) options.pvc = reader.value("pvc");
    if (options.listParams && reader.has("pvc")) {
        error = "--list-params writes no curve; leave out --pvc";
        return false;
    }
    if (options.pvc.empty() && !options.listParams) {
        error = "detect needs the curve to write: --pvc OUT.pvc";
        return false;
    }
    if (reader.has("preprocessed")) {
        options.preprocessed = reader.value("preprocessed");
        if (options.preprocessed.empty() || options.listParams) {
            error = options.listParams ? "--list-params writes no picture; leave out --preprocessed"
                                       : "option --preprocessed needs a value";
            return false;
        }
    }
    if (!readParameters(reader, options.params, error)) return false;
    if (!readBlockSize(reader, options.blockSize, error)) return false;
    if (reader.has("plugin")) options.plugin = reader.value("plugin");
    options.quiet = reader.flag("quiet");
    return true;
}

bool parseAuto(const std::vector<std::string>& args, AutoOptions& options, std::string& error) {
    OptionReader reader(args, 1);
    if (!reader.read({"algorithm", "pvc-out", "png", "block", "format", "plugin", "line", "preprocessed"}, {"quiet"},
                     error,
                     {"param", "area"}))
        return false;
    if (!expectPositional(reader, 2, "wowfix-host auto INPUT OUTPUT --algorithm NAME", error)) return false;
    options.input = reader.positional()[0];
    options.output = reader.positional()[1];
    if (!readAlgorithm(reader, "auto", options.algorithm, error)) return false;
    if (!readTonalLine(reader.has("line"), reader.has("line") ? reader.value("line") : "", options.algorithm,
                       options.line, error))
        return false;
    if (!readSpectralAreas(reader.values("area"), options.algorithm, options.areas, error)) return false;
    if (!readParameters(reader, options.params, error)) return false;
    for (const char* name : {"pvc-out", "png", "preprocessed"}) {
        if (reader.has(name) && reader.value(name).empty()) {
            error = std::string("option --") + name + " needs a value";
            return false;
        }
    }
    if (reader.has("pvc-out")) options.pvcOut = reader.value("pvc-out");
    if (reader.has("png")) options.png = reader.value("png");
    if (reader.has("preprocessed")) options.preprocessed = reader.value("preprocessed");
    if (!options.png.empty() && !options.preprocessed.empty()) {
        error = "--png and --preprocessed both write the plug-in's spectrogram, which --preprocessed fills with the "
                "preprocessed signal: give one of them";
        return false;
    }
    if (reader.has("format")) {
        options.format = reader.value("format");
        if (options.format.empty()) {
            error = "bad format '': expected a container name such as wav";
            return false;
        }
    }
    if (!readBlockSize(reader, options.blockSize, error)) return false;
    if (reader.has("plugin")) options.plugin = reader.value("plugin");
    options.quiet = reader.flag("quiet");
    return true;
}

bool parseDemo(const std::vector<std::string>& args, DemoOptions& options, std::string& error) {
    OptionReader reader(args, 1);
    if (!reader.read({"plugin"}, {"quiet"}, error)) return false;
    if (!expectPositional(reader, 0, "wowfix-host demo", error)) return false;
    if (reader.has("plugin")) options.plugin = reader.value("plugin");
    options.quiet = reader.flag("quiet");
    return true;
}

}  // namespace

bool parseCommandLine(const std::vector<std::string>& args, CommandLine& command, std::string& error) {
    command = CommandLine{};
    if (args.empty()) {
        error = "no command given (try --help)";
        return false;
    }
    const std::string& name = args[0];
    if (name == "--help" || name == "-h" || name == "help") {
        command.kind = CommandKind::Help;
        return true;
    }
    for (const std::string& arg : args)
        if (arg == "--help") {
            command.kind = CommandKind::Help;
            return true;
        }
    if (name == "info") {
        command.kind = CommandKind::Info;
        return parseInfo(args, command.info, error);
    }
    if (name == "correct") {
        command.kind = CommandKind::Correct;
        return parseCorrect(args, command.correct, error);
    }
    if (name == "spectrogram") {
        command.kind = CommandKind::Spectrogram;
        return parseSpectrogram(args, command.spectrogram, error);
    }
    if (name == "detect") {
        command.kind = CommandKind::Detect;
        return parseDetect(args, command.detect, error);
    }
    if (name == "auto") {
        command.kind = CommandKind::Auto;
        return parseAuto(args, command.autoRun, error);
    }
    if (name == "measure") {
        command.kind = CommandKind::Measure;
        command.measure.args.assign(args.begin() + 1, args.end());
        return true;
    }
    if (name == "curve") {
        command.kind = CommandKind::Curve;
        command.curve.args.assign(args.begin() + 1, args.end());
        return true;
    }
    if (name == "batch") {
        command.kind = CommandKind::Batch;
        command.batch.args.assign(args.begin() + 1, args.end());
        return true;
    }
    if (name == "screenshot") {
        command.kind = CommandKind::Screenshot;
        command.screenshot.args.assign(args.begin() + 1, args.end());
        return true;
    }
    if (name == "script") {
        command.kind = CommandKind::Script;
        command.script.args.assign(args.begin() + 1, args.end());
        return true;
    }
    if (name == "gui") {
        command.kind = CommandKind::Gui;
        command.gui.args.assign(args.begin() + 1, args.end());
        return true;
    }
    if (name == "demo") {
        command.kind = CommandKind::Demo;
        return parseDemo(args, command.demo, error);
    }
    error = "unknown command '" + name + "' (try --help)";
    return false;
}

}  // namespace wowfix::hostsim
