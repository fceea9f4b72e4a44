#pragma once
// The user's commands a detection is made of, as the detect and auto
// commands give them to the plug-in: choosing the algorithm (and its
// "Precise" choice), "Create PVC" or "Show Hum", "Preview" of a marked area,
// "Create PVC" from the previewed result, and "Export PVC".
//
// They are clicks on the plug-in's open editor window (the software window
// layer's, or the system's real window on Windows), exactly what a user's
// clicks reach.

#include "hostsim/OfflineHost.h"
#include "hostsim/cli/DetectionAlgorithm.h"

#include <memory>
#include <ostream>
#include <string>

namespace wowfix::hostsim {

class DetectionControls {
public:
    virtual ~DetectionControls() = default;

    // The algorithm chosen in the editor's selector, with "Precise" ticked
    // for a precise one. False with the plug-in's reason in `error` when the
    // algorithm cannot work on the file.
    virtual bool choose(const DetectionAlgorithm& algorithm, std::string& error) = 0;
    // The task that builds the curve over the whole file: "Create PVC", or
    // "Show Hum" (which also shows the signal as the hum library
    // preprocesses it) when `preprocessed`. False with `error` when the
    // plug-in did not start it or it failed.
    virtual bool createCurve(const DetectionAlgorithm& algorithm, bool preprocessed, bool quiet, std::ostream& err,
                             std::string& error) = 0;
    // "Preview" of the marked processing area (the spectral-domain detector).
    virtual bool preview(const DetectionAlgorithm& algorithm, bool quiet, std::ostream& err, std::string& error) = 0;
    // "Create PVC" from the last preview, under the present "Confidence".
    virtual bool createFromPreview(std::string& error) = 0;
    // "Export PVC" into `path`. False with `error` when nothing was written.
    virtual bool exportCurve(const std::string& path, std::string& error) = 0;
};

// The controls for a session on `host` (a file open, the plug-in loaded):
// the editor's window is opened, and closed with the controls. Null with
// `error` when the window does not open.
std::unique_ptr<DetectionControls> openDetectionControls(OfflineHost& host, std::string& error);

}  // namespace wowfix::hostsim
