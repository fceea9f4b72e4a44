#include "hostsim/cli/Usage.h"

#include "hostsim/batch/BatchCommand.h"
#include "hostsim/cli/AutoCommand.h"
#include "hostsim/cli/CommandLine.h"
#include "hostsim/cli/CorrectCommand.h"
#include "hostsim/cli/CurveCommand.h"
#include "hostsim/cli/DemoCommand.h"
#include "hostsim/cli/DetectCommand.h"
#include "hostsim/cli/HostSession.h"
#include "hostsim/cli/GuiCommand.h"
#include "hostsim/cli/ScreenshotCommand.h"
#include "hostsim/cli/ScriptCommand.h"
#include "hostsim/cli/InfoCommand.h"
#include "hostsim/cli/MeasureCommand.h"
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
           "  wowfix-host screenshot INPUT OUT.png [--after \"click 72=4; click 30\"] [--panel]\n"
           "  wowfix-host script INPUT FILE [--threaded] [--quiet] [--plugin PATH]\n"
           "  wowfix-host gui [INPUT]\n"
           "                      [--quiet] [--plugin PATH]\n"
           "  wowfix-host detect INPUT --algorithm pilot --pvc OUT.pvc [--param NAME=VALUE ...]\n"
           "                      [--block N] [--quiet] [--plugin PATH]\n"
           "  wowfix-host detect INPUT --algorithm cog --line START:FREQ:END --pvc OUT.pvc [--quiet]\n"
           "  wowfix-host detect INPUT --algorithm hum --pvc OUT.pvc [--param NAME=VALUE ...]\n"
           "                      [--preprocessed OUT.png] [--block N] [--quiet] [--plugin PATH]\n"
           "  wowfix-host detect INPUT --algorithm spectral [--area START:END:LOWHZ:HIGHHZ] --pvc OUT.pvc\n"
           "                      [--param NAME=VALUE ...] [--quiet]\n"
           "  wowfix-host detect [INPUT] --algorithm pilot|hum|spectral --list-params [--param NAME=VALUE ...]\n"
           "  wowfix-host auto INPUT OUTPUT --algorithm pilot [--pvc-out CURVE.pvc] [--png SPECTROGRAM.png]\n"
           "                      [--param NAME=VALUE ...] [--block N] [--format NAME] [--quiet]\n"
           "                      [--plugin PATH]\n"
           "  wowfix-host auto INPUT OUTPUT --algorithm cog --line START:FREQ:END [--pvc-out CURVE.pvc] ...\n"
           "  wowfix-host auto INPUT OUTPUT --algorithm hum [--preprocessed OUT.png] [--pvc-out CURVE.pvc] ...\n"
           "  wowfix-host auto INPUT OUTPUT --algorithm spectral [--area START:END:LOWHZ:HIGHHZ] ...\n"
           "  wowfix-host measure INPUT [--tone HZ|auto] [--plot OUT.png]\n"
           "  wowfix-host demo [--quiet] [--plugin PATH]\n"
           "  wowfix-host curve band CURVE.pvc OUT.pvc --keep LO:HI | --wow slow|medium|fast | --flutter\n"
           "                      --rate HZ | --audio FILE\n"
           "  wowfix-host curve centre CURVE.pvc OUT.pvc --mean | --pitch A4=HZ --from INPUT\n"
           "  wowfix-host curve cyclic CURVE.pvc OUT.pvc --rpm RPM | --period SECONDS [--harmonics N]\n"
           "                      [--use FROM:TO ...] --rate HZ | --audio FILE\n"
           "  wowfix-host curve join A.pvc B.pvc ... OUT.pvc\n"
           "  wowfix-host curve plot CURVE.pvc OUT.png [--true TRUE.pvc] --rate HZ | --audio FILE\n"
           "  wowfix-host curve rate CURVE.pvc OUT.pvc --curve-rate HZ --audio TARGET [--tolerance SECONDS]\n"
           "  wowfix-host batch MANIFEST.toml [--jobs N] [--shard I/N] [--quiet] [--plugin PATH]\n"
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
           "             and writes its levels as a PNG in the editor's palette, one pixel per column\n"
           "             and row, blue = at or below LOW through cyan, green and yellow to red =\n"
           "             loudest; the top row is the highest frequency.\n"
           "             --fft N: transform length, a power of two 16 ... 8192 (default 1024);\n"
           "             --window: default blackman; --levels: dB above the floor;\n"
           "             --size: picture columns x rows (default 668x259).\n"
           "screenshot   opens the plug-in's editor window on INPUT (without a screen; on Windows\n"
           "             the real window on the screen), runs the spectrogram pass, replays\n"
           "             the --after actions (click ID, click ID=ITEM, drag X,Y X,Y, rclick X,Y,\n"
           "             wheel N, key K, answer PATH; separated by ';') and writes the 780 x 470\n"
           "             window (--panel: the 670 x 260 panel) as a PNG.\n"
           "script       the same window, driven by FILE: one step a line ('#' comments): any\n"
           "             --after action, process OUTPUT (the correction into a new file),\n"
           "             export PATH, import PATH (the curve buttons answered with PATH), undo,\n"
           "             redo, wait (deliver what the plug-in still asks for) and\n"
           "             screenshot PNG [--panel]; each step's outcome is printed. --threaded:\n"
           "             tasks run on a worker thread; wait and process wait for their end.\n"
           "gui          the host's window on the display with the plug-in's editor inside: Open...,\n"
           "             Process (the correction into a new file, kept until Save as...), the\n"
           "             files held, selection and cursor; tasks run on a worker thread.\n"
           "detect       the plug-in finds the speed curve of INPUT and writes it to OUT.pvc.\n"
           "             --algorithm pilot: tracks a high-frequency pilot tone recorded with the\n"
           "             programme (files sampled at 24000 Hz or more).\n"
           "             --algorithm pilot-precise: the pilot's instantaneous frequency from its\n"
           "             phase, to a few parts in a million, up to 40 Hz flutter; dropouts bridged.\n"
           "             --algorithm music-precise: the programme's partials, tracked with sub-bin\n"
           "             accuracy; the speed from all steady partials together.\n"
           "             --algorithm cog --line START:FREQ:END: drags the centre-of-gravity tool\n"
           "             along a tonal line of the programme, FREQ Hz at START s, up to END s; the\n"
           "             curve is 1.0 at START and follows the line's frequency ratio to END.\n"
           "             --algorithm hum: follows the mains hum (50 Hz; nominal-frequency=60, 100,\n"
           "             120, 150 or 180 with the band bounds around it for the others) through the\n"
           "             processing library; --preprocessed: runs the library's preprocessing first\n"
           "             and writes the spectrogram of the signal it gives as a grey PNG.\n"
           "             --algorithm spectral: follows the partials of the programme in the area\n"
           "             START ... END s, LOWHZ ... HIGHHZ; without --area the whole file in the band\n"
           "             where the programme's long-term spectrum lies within 30 dB of its peak\n"
           "             (searched from 100 Hz to 5000 Hz).\n"
           "             --param NAME=VALUE: a detector setting in the units the plug-in shows\n"
           "             (NAME in any case, '-' or '_' for spaces, e.g. fft-length=2048); the\n"
           "             nearest setting the detector has is taken and told.\n"
           "             --list-params: the detector's settings (of INPUT when given); no curve.\n"
           "auto         detect, then correct INPUT along the curve found, into OUTPUT, in one run of\n"
           "             the plug-in; --pvc-out and --png keep the curve and the spectrogram too.\n"
           "measure      the wow and flutter of INPUT, read from a steady test tone in it (3150 Hz\n"
           "             unless --tone names another; auto: the strongest tone): speed offset, drift,\n"
           "             unweighted peak and RMS, IEC 60386 weighted 2-sigma peak and RMS;\n"
           "             --plot: the deviation over time as a PNG.\n"
           "demo         makes a damaged 20 s recording with a pilot tone and a test tone in a new\n"
           "             temporary folder, corrects it with auto --algorithm pilot and prints the\n"
           "             wow and flutter before and after and the error of the curve found.\n"
           "curve        conditions a curve: band keeps the speed variations between LO and HI Hz\n"
           "             (zero phase; --wow slow 0-0.5, medium 0.5-2, fast 2-8 Hz, --flutter 8-40 Hz);\n"
           "             centre --mean makes the mean speed 1 (the corrected file keeps its length),\n"
           "             --pitch A4=440 --from INPUT scales it so that INPUT's tuning lands on A4;\n"
           "             cyclic fits harmonics of a rotation to the stretches FROM:TO (seconds) and\n"
           "             writes the fit over the whole file; join scales each curve to the ones\n"
           "             before it where they overlap and blends across the seams; plot draws the\n"
           "             deviation and its spectrum; rate scales positions from HZ to TARGET's rate.\n"
           "batch        restores every file of a TOML manifest the same way (see the README), N at a\n"
           "             time; skips files whose output is up to date, so a rerun resumes; --shard\n"
           "             runs every N-th file from the I-th, for job arrays; writes a CSV and JSON\n"
           "             report with the wow and flutter before and after.\n"
           "\n"
           "--block N    frames per host read and write buffer (default 8192).\n"
           "--plugin     the plug-in library; default: the wowfix plug-in beside this program or of\n"
           "             its build.\n"
           "--quiet      no progress bar and no summary.\n"
           "\n"
           "OUTPUT (and every other file written) is written beside its final name and renamed onto it when complete; after a\n"
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
        case CommandKind::Detect:
            return runDetect(command.detect, out, err);
        case CommandKind::Auto:
            return runAuto(command.autoRun, err);
        case CommandKind::Measure:
            return runMeasure(command.measure.args, out, err);
        case CommandKind::Demo:
            return runDemo(command.demo, out, err);
        case CommandKind::Curve:
            return runCurve(command.curve.args, out, err);
        case CommandKind::Screenshot:
            return runScreenshot(command.screenshot.args, err);
        case CommandKind::Script:
            return runScript(command.script.args, out, err);
        case CommandKind::Gui:
            return runGui(command.gui.args, err);
        case CommandKind::Batch:
            return batch::runBatchCommand(command.batch.args, out, err);
    }
    return kExitUsage;
}

}  // namespace wowfix::hostsim
