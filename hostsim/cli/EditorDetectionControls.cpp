// The detection's commands as clicks on the plug-in's open editor window.
#include "hostsim/cli/DetectionControls.h"

#include "host/VendorCommands.h"
#include "hostsim/cli/DetectorParameters.h"
#include "hostsim/cli/EditorControlIds.h"
#include "hostsim/cli/EditorWindowOpening.h"
#include "hostsim/cli/FileStamp.h"
#include "hostsim/cli/HostSession.h"
#include "hostsim/cli/PluginTask.h"

#include <utility>

namespace wowfix::hostsim {

namespace {

namespace ids = editor_control;

class EditorDetectionControls final : public DetectionControls {
public:
    explicit EditorDetectionControls(OfflineHost& host) : host_(host) {}
    EditorDetectionControls(const EditorDetectionControls&) = delete;
    EditorDetectionControls& operator=(const EditorDetectionControls&) = delete;

    ~EditorDetectionControls() override {
        if (open_) host_.dispatch(effEditClose, 0, 0, nullptr);
    }

    bool open(std::string& error) {
        open_ = openEditorWindow(host_, parent_, error);
        return open_;
    }

    bool choose(const DetectionAlgorithm& algorithm, std::string& error) override {
        const int entry = ids::entryOfAlgorithm(algorithm.detector);
        if (entry < 0 || !click(ids::kAlgorithmSelector, entry)) {
            error = withPluginMessage(host_, std::string("the editor does not offer ") + algorithm.title);
            return false;
        }
        if (algorithm.precise && !click(ids::kPrecise)) {
            error = withPluginMessage(host_, std::string("the editor offers no \"Precise\" for ") + algorithm.title);
            return false;
        }
        if (algorithm.followsLine) return true;
        // A detector the file does not allow (a pilot tone below its lowest
        // rate) leaves the editor with no algorithm and the reason.
        DetectorParameters parameters(host_, algorithm.detector);
        std::string ignored;
        if (parameters.load(ignored)) return true;
        error = withPluginMessage(host_, std::string("the editor cannot use ") + algorithm.title + " on this file");
        return false;
    }

    bool createCurve(const DetectionAlgorithm& algorithm, bool preprocessed, bool quiet, std::ostream& err,
                     std::string& error) override {
        const int button = preprocessed ? ids::kShowHum : ids::kCreatePvc;
        return runRequestedTask(host_, [this, button] { return click(button); }, algorithm.taskName,
                                algorithm.progress, quiet, err, error, algorithm.passes, pump());
    }

    bool preview(const DetectionAlgorithm& algorithm, bool quiet, std::ostream& err, std::string& error) override {
        return runRequestedTask(host_, [this] { return click(ids::kPreview); }, algorithm.taskName,
                                algorithm.progress, quiet, err, error, algorithm.passes, pump());
    }

    bool createFromPreview(std::string& error) override {
        // The curve is built at once; what went wrong is the plug-in's message.
        if (!click(ids::kCreatePvc)) {
            // The editor enables the button only once a preview has run.
            error = "the editor's \"Create PVC\" is disabled: no \"Preview\" has run to build the curve from";
            return false;
        }
        if (host_.pluginMessage().empty()) return true;
        error = withPluginMessage(host_, "the curve could not be built from the spectral-domain result");
        return false;
    }

    bool exportCurve(const std::string& path, std::string& error) override {
        const FileStamp before = stampOf(path);
        vendor::EditorAction answer = action(vendor::kAnswerDialog, -1, -1);
        answer.path = path.c_str();
        const bool answered = host_.vendorCommand(vendor::kEditorAction, &answer) != 0;
        const bool clicked = answered && click(ids::kExportPvc);
        const FileStamp after = stampOf(path);
        if (clicked && after.exists && !after.sameAs(before)) return true;
        error = withPluginMessage(host_, "the editor's \"Export PVC\" wrote no curve to '" + path + "'");
        return false;
    }

private:
    static vendor::EditorAction action(std::int32_t kind, int id, int item) {
        vendor::EditorAction a{};
        a.size = sizeof a;
        a.kind = kind;
        a.id = id;
        a.item = item;
        return a;
    }

    bool click(int id, int item = -1) {
        vendor::EditorAction a = action(vendor::kClickControl, id, item);
        const bool done = host_.vendorCommand(vendor::kEditorAction, &a) != 0;
        parent_.pump(host_);
        return done;
    }

    std::function<void()> pump() {
        return [this] { parent_.pump(host_); };
    }

    OfflineHost& host_;
    EditorParent parent_;
    bool open_ = false;
};

}  // namespace

std::unique_ptr<DetectionControls> openDetectionControls(OfflineHost& host, std::string& error) {
    auto controls = std::make_unique<EditorDetectionControls>(host);
    if (!controls->open(error)) return nullptr;
    return controls;
}

}  // namespace wowfix::hostsim
