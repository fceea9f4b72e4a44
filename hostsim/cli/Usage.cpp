#include "hostsim/cli/Usage.h"

#include "hostsim/cli/CommandLine.h"
#include "hostsim/cli/CorrectCommand.h"
#include "hostsim/cli/HostSession.h"
#include "hostsim/cli/InfoCommand.h"
#include "hostsim/cli/SpectrogramCommand.h"

namespace wowfix::hostsim {

void printUsage(std::ostream& out) {
    out << "usage:\n"
           "  wowfix-host info [--plugin PATH]\n"
           "  wowfix-host correct INPUT OUTPUT --pvc CURVE.pvc [--block N] [--selection START:END]\n"
           "                      [--format NAME] [--quiet] [--plugin PATH]\n"
           "  wowfix-host spectrogram INPUT OUTPUT.png [--fft N] [--window boxcar|hann|blackman]\n"
           "                      [--range START:END] [--levels LOW:HIGH] [--size WxH] [--pvc CURVE.pvc]\n"
           "                      [--block N] [--quiet] [--plugin PATH]\n"
           "  wowfix-host --help\n"
           "\n"
           "A stand-in for an audio editor that hosts the wowfix VST 2 plug-in offline.\n"
           "\n"
           "info         what a VST 2 plug-in says about itself: id, names, version, inputs and\n"
           "             outputs, flags, parameters, programs and can-do answers.\n"
           "correct      resamples INPUT (or the frames START ... END-1 of it) along the speed curve\n"
           "             CURVE.pvc and writes the result to OUTPUT as 32-bit float, in the container\n"
           "             of INPUT unless --format names another (wav, aiff, flac, caf, w64, ...;\n"
           "             containers without float get the finest integer encoding they hold).\n"
           "spectrogram  runs the plug-in's spectrogram pass over INPUT (or the frames START ... END-1)\n"
           "             and writes its levels as a grey PNG, one pixel per column and row, white =\n"
           "             loud, black = at or below LOW; the top row is the highest frequency.\n"
           "             --fft N: transform length, a power of two 16 ... 8192 (default 1024);\n"
           "             --window: default blackman; --levels: dB above the floor;\n"
           "             --size: picture columns x rows (default 668x259).\n"
           "\n"
           "--block N    frames per host read and write buffer (default 8192).\n"
           "--plugin     the plug-in library; default: the wowfix plug-in beside this program or of\n"
           "             its build.\n"
           "--quiet      no progress bar and no summary.\n"
           "\n"
           "OUTPUT is written beside its final name and renamed onto it when complete; after a\n"
           "failure an existing OUTPUT is left as it was. INPUT is never overwritten.\n"
           "Exit status: 0 success, 1 failure, 2 bad command line.\n";
}

int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine command;
    std::string error;
    if (!parseCommandLine(args, command, error)) {
        err << "wowfix-host: " << error << "\n";
        return kExitUsage;
    }
    switch (command.kind) {
        case CommandKind::Help:
            printUsage(out);
            return kExitSuccess;
        case CommandKind::Info:
            return runInfo(command.info, out, err);
        case CommandKind::Correct:
            return runCorrect(command.correct, err);
        case CommandKind::Spectrogram:
            return runSpectrogram(command.spectrogram, err);
    }
    return kExitUsage;
}

}  // namespace wowfix::hostsim
