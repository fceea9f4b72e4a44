#include "hostsim/cli/DetectCommand.h"

#include "hostsim/FileIdentity.h"
#include "hostsim/GeneratedSource.h"
#include "hostsim/cli/CurveSummary.h"
#include "hostsim/cli/DetectionControls.h"
#include "hostsim/cli/DetectionSteps.h"
#include "hostsim/cli/DetectorParameters.h"
#include "hostsim/cli/HostSession.h"

namespace wowfix::hostsim {

namespace {

// Without a file the parameters are read on a short silence at a rate every
// detector takes.
constexpr double kListingRate = 48000.0;
constexpr std::int64_t kListingFrames = 4800;

int listParameters(OfflineHost& host, DetectionControls& controls, const DetectOptions& options,
                   const DetectionAlgorithm& algorithm, std::ostream& out, std::ostream& err) {
    std::string error;
    if (!analyseWholeFile(host, true, err, error)) return failWith(err, error);
    if (!controls.choose(algorithm, error)) return failWith(err, error);
    const int status = applyParameters(host, algorithm, options.params, options.quiet, err, error);
    if (status != kExitSuccess) return failWith(err, error, status);
    DetectorParameters parameters(host, algorithm.detector);
    if (!parameters.load(error)) return failWith(err, error);
    printParameters(parameters, algorithm, out);
    return kExitSuccess;
}

}  // namespace

int runDetect(const DetectOptions& options, std::ostream& out, std::ostream& err) {
    const DetectionAlgorithm* algorithm = findAlgorithm(options.algorithm);
    if (algorithm == nullptr) return failWith(err, "unknown algorithm '" + options.algorithm + "'", kExitUsage);

    std::string error;
    std::unique_ptr<AudioSource> source;
    std::string input = options.input;
    if (input.empty()) {
        source = std::make_unique<GeneratedSource>(kListingFrames, kListingRate, std::vector<double>{1000.0}, 0.0);
        input = "silence.wav";
    } else {
        source = openInput(input, error);
        if (source == nullptr) return failWith(err, error);
    }
    for (const std::string& output : {options.pvc, options.preprocessed})
        if (!output.empty() && sameFile(input, output))
            return failWith(err, "'" + output + "' is the input file; it is never overwritten");
    if (!options.preprocessed.empty() && sameFile(options.pvc, options.preprocessed))
        return failWith(err, "'" + options.pvc + "' is named for two of the outputs");

    OfflineHost host(options.blockSize);
    if (!startSession(host, options.plugin, std::move(source), input, error, &err)) return failWith(err, error);
    if (options.listParams && algorithm->followsLine) {
        out << "--algorithm " << algorithm->name << " (" << algorithm->title
            << ") has no parameters; it follows --line START:FREQ:END\n";
        return kExitSuccess;
    }
    if (!options.listParams && !options.preprocessed.empty() && !checkPreprocessedView(*algorithm, error))
        return failWith(err, error, kExitUsage);
    // The user's commands, given as clicks on the editor's window where it
    // takes them.
    std::unique_ptr<DetectionControls> controls = openDetectionControls(host, error);
    if (controls == nullptr) return failWith(err, error);
    if (options.listParams) return listParameters(host, *controls, options, *algorithm, out, err);

    const int status = detectCurve(host, *controls, detectionRequest(*algorithm, options), err, error);
    if (status != kExitSuccess) return failWith(err, error, status);
    if (!controls->exportCurve(options.pvc, error)) return failWith(err, error);
    if (!options.quiet) tellCurveWritten(options.pvc, err);
    if (!options.preprocessed.empty() &&
        !writeSpectrogramPicture(host, options.preprocessed, options.quiet, err, error))
        return failWith(err, error);
    return kExitSuccess;
}

}  // namespace wowfix::hostsim
