#include "hostsim/cli/ScriptCommand.h"

#include "host/VendorCommands.h"
#include "hostsim/FileIdentity.h"
#include "hostsim/cli/CommandWords.h"
#include "hostsim/cli/CorrectionSteps.h"
#include "hostsim/cli/EditorOnInput.h"
#include "hostsim/cli/EditorParent.h"
#include "hostsim/cli/EditorScript.h"
#include "hostsim/cli/FileStamp.h"
#include "hostsim/cli/HostSession.h"
#include "hostsim/cli/PngImage.h"
#include "hostsim/cli/WorkerTasks.h"
#include "tools/soundio/SoundFormats.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

namespace wowfix::hostsim {

namespace {

struct ScriptOptions {
    std::string input;
    std::string script;
    std::string plugin;
    bool quiet = false;
    bool threaded = false;  // tasks on a worker thread, as in a host with a window
};

bool parseOptions(const std::vector<std::string>& args, ScriptOptions& options, std::string& error) {
    std::vector<std::string> positional;
    if (!readCommandWords(args, {{"--plugin", &options.plugin}},
                          {{"--quiet", &options.quiet}, {"--threaded", &options.threaded}}, 2,
                          "usage: wowfix-host script INPUT FILE [--plugin PATH] [--quiet] [--threaded]", positional,
                          error))
        return false;
    options.input = positional[0];
    options.script = positional[1];
    return true;
}

bool readScript(const std::string& path, std::string& text, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read the script '" + path + "'";
        return false;
    }
    std::ostringstream all;
    all << in.rdbuf();
    text = all.str();
    return true;
}

// The container a process step writes: the one its extension names, else the
// input's.
std::string formatOf(const std::string& output) {
    const std::size_t dot = output.find_last_of('.');
    const std::size_t slash = output.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    const std::string extension = output.substr(dot + 1);
    return soundio::containerByName(extension) != 0 ? extension : "";
}

std::string stepHead(const ScriptStep& step) { return "line " + std::to_string(step.line) + ": " + step.text; }

// Everything that can be refused before the window opens: files the steps
// would write over the input, and containers that cannot hold the input.
bool checkSteps(const std::vector<ScriptStep>& steps, const ScriptOptions& options, const SndfileSource& source,
                std::map<int, int>& containers, std::ostream& err, std::string& error) {
    for (const ScriptStep& step : steps) {
        const bool writes = step.kind == ScriptStepKind::Process || step.kind == ScriptStepKind::Export ||
                            step.kind == ScriptStepKind::Screenshot;
        if (writes && sameFile(options.input, step.path)) {
            error = stepHead(step) + ": '" + step.path + "' is the input file; it is never overwritten";
            return false;
        }
        if (writes && sameFile(options.script, step.path)) {
            error = stepHead(step) + ": '" + step.path + "' is the script itself";
            return false;
        }
        if (step.kind != ScriptStepKind::Process) continue;
        int container = 0;
        std::string why;
        if (!chooseOutputContainer(source, options.input, formatOf(step.path), options.quiet, err, container, why)) {
            error = stepHead(step) + ": " + why;
            return false;
        }
        containers[step.line] = container;
    }
    return true;
}

class ScriptRun {
public:
    static constexpr int kIdleRounds = 4;

    // With `worker`, tasks run on its thread and only the wait and process
    // steps wait for them.
    ScriptRun(OfflineHost& host, EditorParent& parent, const ScriptOptions& options, WorkerTasks* worker,
              std::ostream& out, std::ostream& err)
        : host_(host),
          parent_(parent),
          options_(options),
          out_(out),
          err_(err),
          worker_(worker),
          tasksReported_(host.tasksStarted()) {}

    // Runs one step; false with `error` when it failed.
    bool run(const ScriptStep& step, int container, std::string& error) {
        const int notificationsBefore = host_.notificationsDelivered();
        std::string outcome;
        switch (step.kind) {
            case ScriptStepKind::Import:
                // The dialog refuses a name that is no file (the user is told
                // in a box): the step could not be done.
                if (!stampOf(step.path).exists) {
                    error = "there is no curve file '" + step.path + "' to import";
                    return false;
                }
                if (!importCurve(step, error)) return false;
                outcome = "done";
                break;
            case ScriptStepKind::Actions:
                if (!sendActions(step, error)) return false;
                outcome = "done";
                break;
            case ScriptStepKind::Export: {
                const FileStamp before = stampOf(step.path);
                if (!sendActions(step, error)) return false;
                const FileStamp after = stampOf(step.path);
                if (!after.exists || after.sameAs(before)) {
                    error = withPluginMessage(host_, "the plug-in wrote no curve to '" + step.path + "'");
                    return false;
                }
                outcome = "wrote '" + step.path + "' (" + std::to_string(after.size) + " bytes)";
                break;
            }
            case ScriptStepKind::Process:
                if (worker_ != nullptr && !settleTasks(error)) return false;
                if (!writeCorrectedFile(host_, step.path, container, options_.quiet, err_, error, waitForTask()))
                    return false;
                tasksReported_ = host_.tasksStarted();
                outcome = "wrote '" + step.path + "' (" + std::to_string(host_.lastTask().framesWritten) +
                          " frames)";
                break;
            case ScriptStepKind::Wait:
                // The host's loop: the files are reported again, and whatever
                // the plug-in asks for on the way is delivered before it ends;
                // then the editor's idle, where it follows what the tasks did.
                // With a worker, until the tasks have ended and nothing more
                // is asked for.
                if (worker_ != nullptr && !worker_->settle(error)) return false;
                host_.notifyFiles(false);
                if (worker_ != nullptr) {
                    if (!worker_->settle(error)) return false;
                } else {
                    idle();
                }
                if (!host_.error().empty() && host_.error() != lastHostError_) {
                    error = host_.error();
                    return false;
                }
                outcome = std::to_string(host_.notificationsDelivered() - notificationsBefore + 1) + " notifications";
                break;
            case ScriptStepKind::Screenshot:
                if (!writeScreenshot(step, outcome, error)) return false;
                break;
        }
        // As a host's event loop does between the user's actions.
        host_.dispatch(effEditIdle);
        parent_.pump(host_);
        // A task on the worker is told of once it has ended: at the wait.
        const bool ended = worker_ == nullptr || step.kind == ScriptStepKind::Wait;
        if (step.kind != ScriptStepKind::Process && ended && host_.tasksStarted() != tasksReported_) {
            const TaskReport& task = host_.lastTask();
            if (!task.succeeded) {
                error = withPluginMessage(host_, "a task failed" + (task.error.empty() ? "" : ": " + task.error));
                return false;
            }
            outcome += "; " + std::to_string(host_.tasksStarted() - tasksReported_) + " task(s) ran";
        }
        // The host's error is the worker's to write while a task runs.
        if (ended || !host_.taskRunning()) lastHostError_ = host_.error();
        if (ended) tasksReported_ = host_.tasksStarted();
        out_ << stepHead(step) << ": " << outcome << "\n";
        return true;
    }

    // The tasks the steps started have ended (with a worker).
    bool settleTasks(std::string& error) { return worker_ == nullptr || worker_->settle(error); }

private:
    std::function<bool(std::string&)> waitForTask() {
        if (worker_ == nullptr) return {};
        return [this](std::string& why) { return worker_->settle(why); };
    }

    // The editor tells a file it could not read only in its box, which a
    // scripted action answers itself: the undo position says whether the
    // curve was loaded.
    bool importCurve(const ScriptStep& step, std::string& error) {
        const int before = undoPosition();
        if (!sendActions(step, error)) return false;
        if (!settleTasks(error)) return false;
        // The editor follows the loading pass at its idle.
        idle();
        parent_.pump(host_);
        const int after = undoPosition();
        if (before >= 0 && after >= 0 && after <= before) {
            error = withPluginMessage(host_, "the curve file '" + step.path + "' could not be imported");
            return false;
        }
        return true;
    }

    // The editor's idle, as a host's event loop gives it between events.
    void idle() {
        for (int round = 0; round < kIdleRounds; ++round) host_.dispatch(effEditIdle);
    }

    int undoPosition() {
        vendor::UndoState state{static_cast<std::int32_t>(sizeof(vendor::UndoState)), -1};
        return host_.vendorCommand(vendor::kUndoState, &state) != 0 ? state.position : -1;
    }

    bool sendActions(const ScriptStep& step, std::string& error) {
        for (const EditorActionText& text : step.actions) {
            vendor::EditorAction action = text.action;
            action.path = text.path.c_str();
            const bool done = host_.vendorCommand(vendor::kEditorAction, &action) != 0;
            // The window's messages between the user's actions (a real
            // window repaints and follows its controls there).
            parent_.pump(host_);
            if (!done) {
                error = withPluginMessage(host_, "action '" + text.text + "' cannot be done in the window");
                return false;
            }
        }
        return true;
    }

    bool writeScreenshot(const ScriptStep& step, std::string& outcome, std::string& error) {
        vendor::WindowPicture picture{};
        std::vector<std::uint32_t> pixels;
        if (!readEditorPicture(host_, step.panelOnly, picture, pixels)) {
            error = "the plug-in gave no picture of its window";
            return false;
        }
        if (!writeRgbPngFile(step.path, picture.width, picture.height, pixels, error)) return false;
        outcome = "wrote '" + step.path + "' (" + std::to_string(picture.width) + " x " +
                  std::to_string(picture.height) + " pixels)";
        return true;
    }

    OfflineHost& host_;
    EditorParent& parent_;
    const ScriptOptions& options_;
    std::ostream& out_;
    std::ostream& err_;
    std::string lastHostError_;
    WorkerTasks* worker_;
    int tasksReported_;
};

}  // namespace

int runScript(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    ScriptOptions options;
    std::string error;
    if (!parseOptions(args, options, error)) return failWith(err, error, kExitUsage);
    std::string text;
    if (!readScript(options.script, text, error)) return failWith(err, error);
    std::vector<ScriptStep> steps;
    if (!parseEditorScript(text, steps, error)) return failWith(err, options.script + ": " + error, kExitUsage);
    std::unique_ptr<SndfileSource> source = openInput(options.input, error);
    if (source == nullptr) return failWith(err, error);
    std::map<int, int> containers;
    if (!checkSteps(steps, options, *source, containers, err, error))
        return failWith(err, options.script + ": " + error, kExitUsage);

    // The parent outlives the host, which closes an editor left open.
    EditorParent parent;
    OfflineHost host;
    if (!openEditorOnInput(host, parent, options.plugin, std::move(source), options.input, options.quiet, err, error))
        return failWith(err, error);
    int status = kExitSuccess;
    // After the first pass, which the script waits for in any case.
    std::unique_ptr<WorkerTasks> worker;
    if (options.threaded) worker = std::make_unique<WorkerTasks>(host);
    ScriptRun run(host, parent, options, worker.get(), out, err);
    for (std::size_t i = 0; status == kExitSuccess && i < steps.size(); ++i) {
        const ScriptStep& step = steps[i];
        if (!run.run(step, containers.count(step.line) != 0 ? containers[step.line] : 0, error))
            status = failWith(err, options.script + ": " + stepHead(step) + ": " + error);
    }
    // Whatever still runs ends before the window closes.
    if (!run.settleTasks(error) && status == kExitSuccess) status = failWith(err, options.script + ": " + error);
    host.dispatch(effEditClose, 0, 0, nullptr);
    worker.reset();
    if (status == kExitSuccess) out << "script: " << steps.size() << " steps done\n";
    return status;
}

}  // namespace wowfix::hostsim
