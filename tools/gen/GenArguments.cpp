#include "tools/gen/GenArguments.h"

#include <charconv>
#include <cmath>

namespace wowfix::gen {

bool parseDecimal(const std::string& text, double& value) {
    if (text.empty() || text[0] == '+') return false;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && std::isfinite(value);
}

bool parseWhole(const std::string& text, long long& value) {
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

bool parseNumberPair(const std::string& text, double& first, double& second) {
    const std::size_t at = text.find('@');
    return at != std::string::npos && parseDecimal(text.substr(0, at), first) &&
           parseDecimal(text.substr(at + 1), second);
}

namespace {

// "NAME" or "NAME@LEVEL"; answers the level when one is given.
bool splitLevel(const std::string& text, std::string& name, std::optional<double>& level) {
    const std::size_t at = text.find('@');
    name = text.substr(0, at);
    if (at == std::string::npos) return true;
    double value = 0.0;
    if (!parseDecimal(text.substr(at + 1), value)) return false;
    level = value;
    return true;
}

}  // namespace

bool parseProgramme(const std::string& text, ProgrammeSettings& programme, std::string& error) {
    programme = ProgrammeSettings();
    const std::string bad = "bad programme '" + text + "': ";
    if (text.rfind("file:", 0) == 0) {
        programme.kind = ProgrammeKind::File;
        programme.path = text.substr(5);
        if (programme.path.empty()) {
            error = bad + "no file named";
            return false;
        }
        return true;
    }
    if (text.rfind("sine:", 0) == 0) {
        programme.kind = ProgrammeKind::Sines;
        std::string list = text.substr(5);
        while (true) {
            const std::size_t comma = list.find(',');
            const std::string item = list.substr(0, comma);
            std::string frequency;
            std::optional<double> level;
            ToneLevel tone;
            if (!splitLevel(item, frequency, level) || !parseDecimal(frequency, tone.frequency)) {
                error = bad + "each tone is FREQUENCY or FREQUENCY@LEVEL";
                return false;
            }
            tone.level = level.value_or(kToneLevel);
            programme.tones.push_back(tone);
            if (comma == std::string::npos) break;
            list = list.substr(comma + 1);
        }
        return true;
    }
    std::string name;
    if (!splitLevel(text, name, programme.level)) {
        error = bad + "the level after '@' must be a number of dB";
        return false;
    }
    if (name == "silence") programme.kind = ProgrammeKind::Silence;
    else if (name == "steps") programme.kind = ProgrammeKind::Steps;
    else if (name == "music") programme.kind = ProgrammeKind::Music;
    else if (name == "noise:white") programme.kind = ProgrammeKind::WhiteNoise;
    else if (name == "noise:pink") programme.kind = ProgrammeKind::PinkNoise;
    else {
        error = bad + "use sine:F[@L],…, steps, noise:white, noise:pink, music, silence or file:PATH";
        return false;
    }
    if (programme.kind == ProgrammeKind::Silence && programme.level) {
        error = bad + "silence has no level";
        return false;
    }
    return true;
}

bool parseGenArguments(const std::vector<std::string>& args, GenInvocation& invocation, std::string& error) {
    invocation = GenInvocation();
    GeneratorSettings& s = invocation.settings;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--help" || option == "-h") {
            invocation.help = true;
            return true;
        }
        if (option.rfind("--", 0) != 0) {
            if (!invocation.targets.audioPath.empty()) {
                error = "more than one output file: '" + invocation.targets.audioPath + "' and '" + option + "'";
                return false;
            }
            invocation.targets.audioPath = option;
            continue;
        }
        if (option == "--hum-on-tape") {
            s.humOnTape = true;
            continue;
        }
        if (option == "--hum-harmonics") {
            s.humHarmonics = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            error = "option " + option + " needs a value";
            return false;
        }
        const std::string& value = args[++i];
        const std::string bad = "bad " + option + " '" + value + "'";
        double number = 0.0;
        double other = 0.0;
        long long whole = 0;
        if (option == "--pvc") {
            invocation.targets.pvcPath = value;
        } else if (option == "--format") {
            invocation.targets.format = value;
        } else if (option == "--programme") {
            if (!parseProgramme(value, s.programme, error)) return false;
        } else if (option == "--rate") {
            if (!parseWhole(value, whole) || whole < 1 || whole > 100000000) {
                error = bad + ": a whole number of Hz";
                return false;
            }
            s.sampleRate = static_cast<int>(whole);
        } else if (option == "--channels") {
            if (!parseWhole(value, whole) || (whole != 1 && whole != 2)) {
                error = bad + ": 1 or 2";
                return false;
            }
            s.channels = static_cast<int>(whole);
        } else if (option == "--seconds") {
            if (!parseDecimal(value, number)) {
                error = bad + ": a number of seconds";
                return false;
            }
            s.seconds = number;
        } else if (option == "--intonation") {
            if (!parseDecimal(value, number)) {
                error = bad + ": a number of cents";
                return false;
            }
            s.intonationCents = number;
        } else if (option == "--vibrato") {
            if (!parseNumberPair(value, number, other)) {
                error = bad + ": DEPTH@RATE, the depth in % and the rate in Hz";
                return false;
            }
            s.vibrato = PeriodicDamage{number, other};
        } else if (option == "--wow" || option == "--flutter") {
            if (!parseNumberPair(value, number, other)) {
                error = bad + ": DEPTH@RATE, the depth in % and the rate in Hz";
                return false;
            }
            (option == "--wow" ? s.wow : s.flutter) = PeriodicDamage{number, other};
        } else if (option == "--drift") {
            if (!parseDecimal(value, number)) {
                error = bad + ": a depth in %";
                return false;
            }
            s.driftPercent = number;
        } else if (option == "--pilot" || option == "--hum") {
            if (!parseNumberPair(value, number, other)) {
                error = bad + ": FREQUENCY@LEVEL, in Hz and dBFS";
                return false;
            }
            (option == "--pilot" ? s.pilot : s.hum) = ToneLevel{number, other};
        } else if (option == "--hum-drift") {
            if (!parseDecimal(value, number)) {
                error = bad + ": a depth in %";
                return false;
            }
            s.humDriftPercent = number;
        } else if (option == "--test-tone") {
            if (!parseDecimal(value, number)) {
                error = bad + ": a level in dBFS";
                return false;
            }
            s.testToneLevel = number;
        } else if (option == "--seed") {
            unsigned long long seed = 0;
            const char* end = value.data() + value.size();
            const auto [ptr, ec] = std::from_chars(value.data(), end, seed);
            if (value.empty() || ec != std::errc() || ptr != end) {
                error = bad + ": a whole number from 0 to 2^64 - 1";
                return false;
            }
            s.seed = seed;
        } else if (option == "--pvc-step") {
            if (!parseWhole(value, whole) || whole < 1 || whole > 1000000000) {
                error = bad + ": a whole number of frames, 1 or more";
                return false;
            }
            s.pvcStep = static_cast<int>(whole);
        } else {
            error = "unknown option " + option + " (see --help)";
            return false;
        }
    }
    if (invocation.targets.audioPath.empty()) {
        error = "no output file named (see --help)";
        return false;
    }
    if (invocation.targets.pvcPath.empty()) {
        error = "no --pvc file named for the true curve";
        return false;
    }
    return true;
}

std::string genUsage() {
    return R"(usage: wowfix-gen OUTPUT --pvc TRUE.pvc [options]

Writes a recording damaged by wow, flutter and drift, and the true curve of
its damage as a .pvc file that wowfix's correction would use to undo it.

Programme (what was recorded):
  --programme P      sine:F[@L][,F[@L]...]  steady tones, F in Hz, L peak dBFS (default -12)
                     steps[@L]     octave steps 125 Hz ... 16 kHz and 3150 Hz, 0.5 s each
                     noise:white[@L] | noise:pink[@L]   Gaussian noise, L RMS dBFS (default -20)
                     music[@L]     four voices of harmonic notes, L peak dBFS (default -12)
                     silence
                     file:PATH     an audio file (its rate may differ from --rate)
                     default: music
  --test-tone L      add a clean 3150 Hz tone at L dBFS, recorded with the programme
  --pilot F@L        add a pilot tone, recorded with the programme (so it is damaged too)
  --vibrato D@R      the music's top voice sings with vibrato, peak D % at R Hz (part of
                     the programme: not in the true curve)
  --intonation C     every note of the music off its tempered pitch by up to +-C cents
                     (uniform; part of the programme)

Damage (speed = 1 + wow + flutter + drift):
  --wow D@R          sinusoidal wow, peak depth D % at rate R Hz
  --flutter D@R      sinusoidal flutter, peak depth D % at rate R Hz
  --drift D          slow random drift (0.01 ... 0.1 Hz), peak depth D %
  --hum F@L          mains hum picked up at playback (not damaged), F Hz at L dBFS
  --hum-drift D      the mains frequency's own slow wander, peak D % (default 0.1)
  --hum-on-tape      the hum was recorded onto the tape instead (damaged like the pilot)
  --hum-harmonics    the hum's 2nd and 3rd harmonics too, 6 and 10 dB below it

Output:
  --rate N           sample rate in Hz (default 44100)
  --channels 1|2     default 2, or mono for a mono input file
  --seconds S        duration (default 10; a file programme: as long as it lasts)
  --format NAME      container (wav, flac, aiff, ...; default from OUTPUT's extension, else wav)
  --pvc-step K       frames between the points of the true curve (default 256; the last
                     frame always has a point)
  --seed N           random seed for drift, noise and music (default 1)
  --help             this text

The audio is 32-bit float where the container holds it, else 24- or 16-bit.
The true curve holds, at frame n, the speed averaged over that frame,
r(n) = fs * (tau(n+1) - tau(n)), tau being the programme time that frame n
holds: a value above 1 means the recording runs fast there.
)";
}

}  // namespace wowfix::gen
