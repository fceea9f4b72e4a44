#pragma once
// The command line of wowfix-host, parsed into the options of one command.
// Parsing checks everything that can be checked without opening a file; what
// depends on the input (a selection past its end) is checked by the command.

#include "hostsim/cli/SpectralArea.h"
#include "hostsim/cli/TonalLine.h"

#include <string>
#include <vector>

namespace wowfix::hostsim {

struct InfoOptions {
    std::string plugin;  // empty: the default plug-in
};

struct CorrectOptions {
    std::string input;
    std::string output;
    std::string pvc;
    std::string plugin;
    std::string format;  // empty: the input's container
    int blockSize = 8192;
    bool hasSelection = false;
    long long selectionStart = 0;
    long long selectionEnd = 0;
    bool quiet = false;
};

struct SpectrogramOptions {
    static constexpr int kDefaultWidth = 668;   // the editor panel's columns
    static constexpr int kDefaultHeight = 259;  // and rows
    static constexpr int kMaxWidth = 4096;
    static constexpr int kMaxHeight = 4096;

    std::string input;
    std::string output;
    std::string pvc;
    std::string plugin;
    int fftLength = 1024;
    int windowIndex = 2;  // 0 boxcar, 1 Hann, 2 Blackman
    bool hasRange = false;
    long long rangeStart = 0;
    long long rangeEnd = 0;
    bool hasLevels = false;
    double lowDb = 0.0;
    double highDb = 0.0;
    int width = kDefaultWidth;
    int height = kDefaultHeight;
    int blockSize = 8192;
    bool quiet = false;
};

// One "--param NAME=VALUE": a detector parameter by name and the effective
// setting wanted, in the units the detector shows.
struct ParameterSetting {
    std::string name;
    double value = 0.0;
    std::string text;  // VALUE as written
};

struct DetectOptions {
    std::string input;  // may be empty with --list-params
    std::string pvc;    // the curve to write; may be empty with --list-params
    std::string algorithm;
    std::vector<ParameterSetting> params;
    TonalLine line;     // --line, for --algorithm cog
    std::string preprocessed;  // empty: no picture of the preprocessed signal
    std::vector<SpectralArea> areas;  // --area ..., for --algorithm spectral
    std::string plugin;
    int blockSize = 8192;
    bool listParams = false;
    bool quiet = false;
};

struct AutoOptions {
    std::string input;
    std::string output;
    std::string algorithm;
    std::vector<ParameterSetting> params;
    TonalLine line;      // --line, for --algorithm cog
    std::vector<SpectralArea> areas;  // --area ..., for --algorithm spectral
    std::string pvcOut;  // empty: the curve is not saved
    std::string png;     // empty: no spectrogram picture
    std::string preprocessed;  // empty: no picture of the preprocessed signal
    std::string format;  // empty: the input's container
    std::string plugin;
    int blockSize = 8192;
    bool quiet = false;
};

// The meter reads its own options.
struct MeasureOptions {
    std::vector<std::string> args;  // the words after "measure"
};

// The curve steps read their own options.
struct CurveCommandOptions {
    std::vector<std::string> args;  // the words after "curve"
};

struct DemoOptions {
    std::string plugin;  // empty: the default plug-in
    bool quiet = false;  // no progress bars
};

enum class CommandKind { Help, Info, Correct, Spectrogram, Detect, Auto, Measure, Demo, Curve, Batch, Screenshot, Script, Gui };

struct CommandLine {
    CommandKind kind = CommandKind::Help;
    InfoOptions info;
    CorrectOptions correct;
    SpectrogramOptions spectrogram;
    DetectOptions detect;
    AutoOptions autoRun;
    MeasureOptions measure;
    DemoOptions demo;
    CurveCommandOptions curve;
    CurveCommandOptions batch;  // the words after "batch"
    CurveCommandOptions screenshot;  // the words after "screenshot"
    CurveCommandOptions script;      // the words after "script"
    CurveCommandOptions gui;         // the words after "gui"
};

// Parses the arguments after the program name. Answers false with `error`
// set to a one-line reason (without the program prefix) when they are not a
// valid command.
bool parseCommandLine(const std::vector<std::string>& args, CommandLine& command, std::string& error);

}  // namespace wowfix::hostsim
