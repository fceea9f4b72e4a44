#pragma once
// The steps of a detection through the plug-in, shared by the detect and
// auto commands: the whole-file spectrogram pass (which also tells the
// plug-in the file's sample rate), the detector's parameters, the task that
// builds the curve, and saving the curve.

#include "hostsim/OfflineHost.h"
#include "hostsim/cli/CommandLine.h"
#include "hostsim/cli/DetectionAlgorithm.h"
#include "hostsim/cli/SpectralArea.h"
#include "hostsim/cli/TonalLine.h"

#include <ostream>
#include <string>
#include <vector>

namespace wowfix::hostsim {

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

// The task that builds the curve of `algorithm` over the whole file.
bool buildCurve(OfflineHost& host, const DetectionAlgorithm& algorithm, bool quiet, std::ostream& err,
                std::string& error);

// All three in order; answers the exit status. An algorithm that follows a
// tonal line takes no parameters and drags along `line` instead of a task.
int detectCurve(OfflineHost& host, const DetectionAlgorithm& algorithm,
                const std::vector<ParameterSetting>& settings, bool quiet, std::ostream& err, std::string& error);
int detectCurve(OfflineHost& host, const DetectionAlgorithm& algorithm,
                const std::vector<ParameterSetting>& settings, const TonalLine& line, bool quiet, std::ostream& err,
                std::string& error);
// The spectral algorithm analyses each of `areas` in turn (spectralAreas
// when none is given): the preview, then "Create PVC" under the
// "Confidence" asked for; each keeps what the ones before it found.
int detectCurve(OfflineHost& host, const DetectionAlgorithm& algorithm,
                const std::vector<ParameterSetting>& settings, const TonalLine& line,
                const std::vector<SpectralArea>& areas,
                bool quiet, std::ostream& err, std::string& error);

// For --preprocessed: the library algorithms' run-time variant, which shows
// the signal as the library preprocesses it in the spectrogram instead of
// the file itself. Other algorithms have no preprocessed signal: an error.
bool choosePreprocessedView(OfflineHost& host, const DetectionAlgorithm& algorithm, std::string& error);

// The plug-in's spectrogram as it stands after the detection, as a PNG.
bool writeSpectrogramPicture(OfflineHost& host, const std::string& path, bool quiet, std::ostream& err,
                              std::string& error);

// The plug-in writes its curve to `path` (replacing it only when complete).
bool saveCurve(OfflineHost& host, const std::string& path, std::string& error);

// One line per parameter: option spelling, name, effective setting, unit.
void printParameters(const DetectorParameters& parameters, const DetectionAlgorithm& algorithm, std::ostream& out);

// An effective setting as the commands show it.
std::string formatSetting(double value);

}  // namespace wowfix::hostsim
