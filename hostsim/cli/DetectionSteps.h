#pragma once
// The steps of a detection through the plug-in, shared by the detect and
// auto commands: the whole-file spectrogram pass (which also tells the
// plug-in the file's sample rate), the algorithm and the detector's
// parameters, and the command that builds the curve.

#include "hostsim/OfflineHost.h"
#include "hostsim/cli/CommandLine.h"
#include "hostsim/cli/DetectionAlgorithm.h"
#include "hostsim/cli/SpectralArea.h"
#include "hostsim/cli/TonalLine.h"

#include <ostream>
#include <string>
#include <vector>

namespace wowfix::hostsim {

class DetectionControls;
class DetectorParameters;

// The spectrogram pass over the whole file with the editor's opening view.
bool analyseWholeFile(OfflineHost& host, bool quiet, std::ostream& err, std::string& error);

// Sets every parameter to the slider position nearest to the value asked
// for and tells on `err` the setting it gives (unless `quiet`; a setting
// that differs from the one asked for is always told). Answers the exit
// status: kExitUsage with the known names in `error` for an unknown name.
int applyParameters(OfflineHost& host, const DetectionAlgorithm& algorithm,
                    const std::vector<ParameterSetting>& settings, bool quiet, std::ostream& err,
                    std::string& error);

// What a detection is asked to do.
struct DetectionRequest {
    const DetectionAlgorithm* algorithm = nullptr;
    std::vector<ParameterSetting> settings;
    TonalLine line;                    // for an algorithm that follows a line
    std::vector<SpectralArea> areas;   // for the spectral algorithm
    bool preprocessed = false;         // the hum tracking's "Show Hum"
    bool quiet = false;
};

// The request of the detect and auto commands, whose options name the same
// things.
template <typename Options>
DetectionRequest detectionRequest(const DetectionAlgorithm& algorithm, const Options& options) {
    DetectionRequest request;
    request.algorithm = &algorithm;
    request.settings = options.params;
    request.line = options.line;
    request.areas = options.areas;
    request.preprocessed = !options.preprocessed.empty();
    request.quiet = options.quiet;
    return request;
}

// The whole detection, through `controls` as a user gives it: the
// spectrogram pass, the algorithm chosen, its parameters, then the command
// that builds the curve. Answers the exit status.
//
// An algorithm that follows a tonal line takes no parameters and drags
// along the line instead. The spectral algorithm analyses each of its areas
// in turn (spectralAreas when none is given): the preview, then "Create
// PVC" under the "Confidence" asked for; each keeps what the ones before it
// found, and the run fails only when no area gave a result.
int detectCurve(OfflineHost& host, DetectionControls& controls, const DetectionRequest& request, std::ostream& err,
                std::string& error);

// For --preprocessed: only the hum tracking has a preprocessed signal to
// show (its "Show Hum"); false with `error` for another algorithm.
bool checkPreprocessedView(const DetectionAlgorithm& algorithm, std::string& error);

// The plug-in's spectrogram as it stands after the detection, as a PNG.
bool writeSpectrogramPicture(OfflineHost& host, const std::string& path, bool quiet, std::ostream& err,
                              std::string& error);

// One line per parameter: option spelling, name, effective setting, unit.
void printParameters(const DetectorParameters& parameters, const DetectionAlgorithm& algorithm, std::ostream& out);

// An effective setting as the commands show it.
std::string formatSetting(double value);

}  // namespace wowfix::hostsim
