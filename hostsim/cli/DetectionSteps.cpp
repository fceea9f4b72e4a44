#include "hostsim/cli/DetectionSteps.h"

#include "hostsim/cli/DetectionControls.h"
#include "hostsim/cli/DetectorParameters.h"
#include "hostsim/cli/HostSession.h"
#include "hostsim/cli/LineDrag.h"
#include "hostsim/cli/PluginTask.h"
#include "hostsim/cli/SpectrogramSteps.h"

#include <algorithm>
#include <cstdio>
#include <iomanip>

namespace wowfix::hostsim {

bool analyseWholeFile(OfflineHost& host, bool quiet, std::ostream& err, std::string& error) {
    const SpectrogramOptions view;
    if (!applyViewSettings(host, view, error)) return false;
    return runPluginTask(host, kWholeFileAcquisitionTask, "the spectrogram pass", "analysing", quiet, err, error);
}

int applyParameters(OfflineHost& host, const DetectionAlgorithm& algorithm,
                    const std::vector<ParameterSetting>& settings, bool quiet, std::ostream& err,
                    std::string& error) {
    if (settings.empty()) return kExitSuccess;
    DetectorParameters parameters(host, algorithm.detector);
    if (!parameters.load(error)) return kExitFailure;
    for (const ParameterSetting& setting : settings) {
        const int index = parameters.find(setting.name);
        if (index < 0) {
            error = "the " + std::string(algorithm.name) + " algorithm has no parameter '" + setting.name +
                    "' (known: " + parameters.knownNames() + ")";
            return kExitUsage;
        }
        if (!parameters.setNearest(index, setting.value, error)) return kExitFailure;
        const DetectorParameterInfo& info = parameters.all()[static_cast<std::size_t>(index)];
        const bool exact = static_cast<double>(info.display) == setting.value;
        if (quiet && exact) continue;
        err << "wowfix-host: " << info.name << " = " << formatSetting(info.display) << " " << info.label;
        if (!exact) err << " (the nearest setting to " << setting.text << ")";
        err << "\n";
    }
    return kExitSuccess;
}

namespace {

// The spectral-domain detector's road: each area marked, previewed and made
// into the curve under the "Confidence" asked for.
int detectInAreas(OfflineHost& host, DetectionControls& controls, const DetectionRequest& request,
                  std::ostream& err, std::string& error) {
    const DetectionAlgorithm& algorithm = *request.algorithm;
    int status = applyParameters(host, algorithm, request.settings, request.quiet, err, error);
    if (status != kExitSuccess) return status;
    std::vector<ProcessingArea> marked;
    if (!spectralAreas(host, request.areas, marked, error)) return kExitFailure;
    // An area where nothing can be followed keeps the curve it had; the run
    // fails only when no area gave a result.
    int found = 0;
    for (const ProcessingArea& area : marked) {
        if (!markSpectralArea(host, area, request.quiet, err, error)) return kExitFailure;
        if (!controls.preview(algorithm, request.quiet, err, error)) {
            if (marked.size() > 1) err << "wowfix-host: " << error << "\n";
            continue;
        }
        // The preview ran unfiltered; the curve takes the "Confidence" asked for.
        status = applyParameters(host, algorithm, request.settings, true, err, error);
        if (status != kExitSuccess) return status;
        if (!controls.createFromPreview(error)) return kExitFailure;
        ++found;
    }
    if (found == 0) return kExitFailure;
    error.clear();
    return kExitSuccess;
}

int followLine(OfflineHost& host, DetectionControls& controls, const DetectionRequest& request, std::ostream& err,
               std::string& error) {
    const DetectionAlgorithm& algorithm = *request.algorithm;
    if (!request.settings.empty()) {
        error = "the " + std::string(algorithm.name) + " algorithm has no parameters";
        return kExitUsage;
    }
    const TonalLine& line = request.line;
    if (!line.given) {
        error = "--algorithm " + std::string(algorithm.name) + " needs the line to follow: --line START:FREQ:END";
        return kExitUsage;
    }
    const AudioSource* file = host.file();
    if (file != nullptr && !tonalLineFits(line, static_cast<double>(file->frames()), file->sampleRate(), error))
        return kExitFailure;
    if (!analyseWholeFile(host, request.quiet, err, error)) return kExitFailure;
    if (!controls.choose(algorithm, error)) return kExitFailure;
    return dragAlongLine(host, line, request.quiet, err, error) ? kExitSuccess : kExitFailure;
}

}  // namespace

int detectCurve(OfflineHost& host, DetectionControls& controls, const DetectionRequest& request, std::ostream& err,
                std::string& error) {
    const DetectionAlgorithm& algorithm = *request.algorithm;
    if (algorithm.followsLine) return followLine(host, controls, request, err, error);
    if (!analyseWholeFile(host, request.quiet, err, error)) return kExitFailure;
    if (!controls.choose(algorithm, error)) return kExitFailure;
    if (algorithm.taskMode == kSpectralDetectionTask && !algorithm.precise)
        return detectInAreas(host, controls, request, err, error);
    const int status = applyParameters(host, algorithm, request.settings, request.quiet, err, error);
    if (status != kExitSuccess) return status;
    return controls.createCurve(algorithm, request.preprocessed, request.quiet, err, error) ? kExitSuccess
                                                                                             : kExitFailure;
}

bool checkPreprocessedView(const DetectionAlgorithm& algorithm, std::string& error) {
    if (algorithm.taskMode == kLibraryDetectionTask) return true;
    error = "--preprocessed is for --algorithm hum; " + std::string(algorithm.name) + " has no preprocessed signal";
    return false;
}

bool writeSpectrogramPicture(OfflineHost& host, const std::string& path, bool quiet, std::ostream& err,
                              std::string& error) {
    int columns = 0;
    int rows = 0;
    if (!writeSpectrogramPng(host, path, columns, rows, error)) return false;
    if (!quiet) err << "wowfix-host: wrote '" << path << "': " << columns << " x " << rows << " pixels\n";
    return true;
}

void printParameters(const DetectorParameters& parameters, const DetectionAlgorithm& algorithm, std::ostream& out) {
    out << "parameters of --algorithm " << algorithm.name << " (" << algorithm.title
        << "), set with --param NAME=VALUE:\n";
    // Columns of 16, wider where a name needs it, so names never run together.
    int spellingWidth = 15;
    int nameWidth = 15;
    for (const DetectorParameterInfo& info : parameters.all()) {
        spellingWidth = std::max(spellingWidth, static_cast<int>(optionSpelling(info.name).size()));
        nameWidth = std::max(nameWidth, static_cast<int>(info.name.size()));
    }
    for (const DetectorParameterInfo& info : parameters.all())
        out << "  " << std::left << std::setw(spellingWidth + 1) << optionSpelling(info.name)
            << std::setw(nameWidth + 1) << info.name << std::right << std::setw(8) << formatSetting(info.display)
            << " " << info.label << "\n";
}

std::string formatSetting(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

}  // namespace wowfix::hostsim
