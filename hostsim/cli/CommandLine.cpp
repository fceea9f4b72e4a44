#include "hostsim/cli/CommandLine.h"

#include "hostsim/OfflineHost.h"
#include "hostsim/cli/Arguments.h"

#include <map>

namespace wowfix::hostsim {

namespace {

// The arguments of one command: positional ones and "--name value" (or
// "--name=value") options; flags take no value.
class OptionReader {
public:
    OptionReader(const std::vector<std::string>& args, std::size_t first) : args_(args), next_(first) {}

    // Reads everything; `valued` are the options that take a value, `flags`
    // those that do not.
    bool read(const std::vector<std::string>& valued, const std::vector<std::string>& flags, std::string& error) {
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
            if (!contains(valued, name)) {
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
    error = "unknown command '" + name + "' (try --help)";
    return false;
}

}  // namespace wowfix::hostsim
