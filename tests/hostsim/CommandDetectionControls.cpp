// The plug-in's scripted commands standing in for the editor's buttons.
#include "CommandDetectionControls.h"

#include "host/VendorCommands.h"
#include "hostsim/cli/HostSession.h"
#include "hostsim/cli/PluginTask.h"

namespace hostsim_test {

namespace {

using wowfix::hostsim::DetectionAlgorithm;
using wowfix::hostsim::DetectionControls;
using wowfix::hostsim::OfflineHost;
using wowfix::hostsim::runPluginTask;
using wowfix::hostsim::withPluginMessage;
namespace vendor = wowfix::vendor;

class CommandDetectionControls final : public DetectionControls {
public:
    explicit CommandDetectionControls(OfflineHost& host) : host_(host) {}

    bool choose(const DetectionAlgorithm& algorithm, std::string&) override {
        host_.vendorCommand(vendor::kUsePreciseDetectors, nullptr, algorithm.precise ? 1.0f : 0.0f);
        return true;
    }

    bool createCurve(const DetectionAlgorithm& algorithm, bool preprocessed, bool quiet, std::ostream& err,
                     std::string& error) override {
        if (preprocessed && host_.vendorCommand(vendor::kUseRuntimeLibrary, nullptr, 1.0f) == 0) {
            error = withPluginMessage(host_, "the plug-in cannot show the preprocessed signal");
            return false;
        }
        return runPluginTask(host_, algorithm.taskMode, algorithm.taskName, algorithm.progress, quiet, err, error,
                             algorithm.passes);
    }

    bool preview(const DetectionAlgorithm& algorithm, bool quiet, std::ostream& err, std::string& error) override {
        return runPluginTask(host_, algorithm.taskMode, algorithm.taskName, algorithm.progress, quiet, err, error,
                             algorithm.passes);
    }

    bool createFromPreview(std::string& error) override {
        if (host_.vendorCommand(vendor::kCreateSpectralPvc) != 0) return true;
        error = withPluginMessage(host_, "the curve could not be built from the spectral-domain result");
        return false;
    }

    bool exportCurve(const std::string& path, std::string& error) override {
        vendor::CurveFile file{static_cast<std::int32_t>(sizeof(vendor::CurveFile)), path.c_str(), 0.0};
        if (host_.vendorCommand(vendor::kSaveCurve, &file) != 0) return true;
        error = withPluginMessage(host_, "cannot save the curve to '" + path + "'");
        return false;
    }

private:
    OfflineHost& host_;
};

}  // namespace

std::unique_ptr<DetectionControls> commandDetectionControls(OfflineHost& host) {
    return std::make_unique<CommandDetectionControls>(host);
}

}  // namespace hostsim_test
