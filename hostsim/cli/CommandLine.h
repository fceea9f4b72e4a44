#pragma once
// The command line of wowfix-host, parsed into the options of one command.
// Parsing checks everything that can be checked without opening a file; what
// depends on the input (a selection past its end) is checked by the command.

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

enum class CommandKind { Help, Info, Correct, Spectrogram };

struct CommandLine {
    CommandKind kind = CommandKind::Help;
    InfoOptions info;
    CorrectOptions correct;
    SpectrogramOptions spectrogram;
};

// Parses the arguments after the program name. Answers false with `error`
// set to a one-line reason (without the program prefix) when they are not a
// valid command.
bool parseCommandLine(const std::vector<std::string>& args, CommandLine& command, std::string& error);

}  // namespace wowfix::hostsim
