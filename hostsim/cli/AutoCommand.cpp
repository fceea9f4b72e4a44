#include "hostsim/cli/AutoCommand.h"

#include "hostsim/FileIdentity.h"
#include "hostsim/cli/CorrectionSteps.h"
#include "hostsim/cli/CurveSummary.h"
#include "hostsim/cli/DetectionControls.h"
#include "hostsim/cli/DetectionSteps.h"
#include "hostsim/cli/HostSession.h"
#include "hostsim/cli/SpectrogramSteps.h"

namespace wowfix::hostsim {

namespace {

// The files the run writes, each named once and none of them the input.
bool checkOutputs(const AutoOptions& options, std::string& error) {
    const std::vector<std::string> outputs = {options.output, options.pvcOut, options.png, options.preprocessed};
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        if (outputs[i].empty()) continue;
        if (sameFile(options.input, outputs[i])) {
            error = "'" + outputs[i] + "' is the input file; it is never overwritten";
            return false;
        }
        for (std::size_t j = 0; j < i; ++j)
            if (outputs[j] == outputs[i] || sameFile(outputs[j], outputs[i])) {
                error = "'" + outputs[i] + "' is named for two of the outputs";
                return false;
            }
    }
    return true;
}

}  // namespace

int runAuto(const AutoOptions& options, std::ostream& err) {
    const DetectionAlgorithm* algorithm = findAlgorithm(options.algorithm);
    if (algorithm == nullptr) return failWith(err, "unknown algorithm '" + options.algorithm + "'", kExitUsage);

    std::string error;
    std::unique_ptr<SndfileSource> source = openInput(options.input, error);
    if (source == nullptr) return failWith(err, error);
    if (!checkOutputs(options, error)) return failWith(err, error);
    int container = 0;
    if (!chooseOutputContainer(*source, options.input, options.format, options.quiet, err, container, error))
        return failWith(err, error);

    OfflineHost host(options.blockSize);
    if (!startSession(host, options.plugin, std::move(source), options.input, error, &err))
        return failWith(err, error);
    if (!options.preprocessed.empty() && !checkPreprocessedView(*algorithm, error))
        return failWith(err, error, kExitUsage);
    // The user's commands, given as clicks on the editor's window where it
    // takes them.
    std::unique_ptr<DetectionControls> controls = openDetectionControls(host, error);
    if (controls == nullptr) return failWith(err, error);
    const int status = detectCurve(host, *controls, detectionRequest(*algorithm, options), err, error);
    if (status != kExitSuccess) return failWith(err, error, status);

    if (!options.pvcOut.empty()) {
        if (!controls->exportCurve(options.pvcOut, error)) return failWith(err, error);
        if (!options.quiet) tellCurveWritten(options.pvcOut, err);
    }
    for (const std::string& picture : {options.png, options.preprocessed})
        if (!picture.empty() && !writeSpectrogramPicture(host, picture, options.quiet, err, error))
            return failWith(err, error);

    // The curve the detection built is established and covers the whole
    // file, which is the host's selection: the process request corrects
    // along it as it stands.
    if (!writeCorrectedFile(host, options.output, container, options.quiet, err, error)) return failWith(err, error);
    return kExitSuccess;
}

}  // namespace wowfix::hostsim
