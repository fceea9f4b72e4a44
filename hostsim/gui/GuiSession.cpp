#include "hostsim/gui/GuiSession.h"

#include "editor/win32/SoftInput.h"
#include "editor/x11/X11Presenter.h"
#include "hostsim/NewFileSink.h"
#include "hostsim/SndfileSource.h"
#include "tools/soundio/ReplacingFile.h"
#include "tools/soundio/SoundFormats.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace wowfix::hostsim {

namespace {

std::string baseNameOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// m:ss.mmm of frame `frame` at `rate`.
std::string clockText(double frame, double rate) {
    const double t = rate > 0.0 && std::isfinite(frame) ? std::max(0.0, frame / rate) : 0.0;
    const long long ms = static_cast<long long>(std::floor(t * 1000.0));
    char text[48];
    std::snprintf(text, sizeof text, "%lld:%02lld.%03lld", ms / 60000, ms / 1000 % 60, ms % 1000);
    return text;
}

// The layer's file dialog: false when the user cancels.
bool askForPath(const char* title, bool save, std::string& path) {
    char chosen[4096] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.lpstrFile = chosen;
    dialog.nMaxFile = sizeof chosen;
    dialog.lpstrTitle = title;
    dialog.Flags = save ? OFN_OVERWRITEPROMPT : 0;
    if ((save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog)) == FALSE) return false;
    path = chosen;
    return true;
}

}  // namespace

GuiSession::GuiSession() = default;

GuiSession::~GuiSession() {
    // A task still running finishes before anything it uses goes.
    if (worker_.joinable()) worker_.join();
    if (editorOpen_) host_.dispatch(effEditClose);
    host_.setTaskRunner(nullptr);
    if (presenter_ != nullptr) presenter_->close();
    host_.unloadPlugin();
}

bool GuiSession::start(const std::string& pluginPath, bool onScreen, std::string& error) {
    if (!host_.loadPlugin(pluginPath)) {
        error = host_.error();
        return false;
    }
    host_.setTaskRunner([this](std::function<void()> task) {
        // The previous task has ended (the host starts one at a time); its
        // thread is only being left.
        if (worker_.joinable()) worker_.join();
        worker_ = std::thread(std::move(task));
    });
    frame_ = std::make_unique<GuiFrame>([this](int control, int entry) { command(control, entry); });
    if (frame_->window() == nullptr) {
        error = "cannot make the host's window";
        return false;
    }
    void* parent = nullptr;
    if (onScreen) {
        presenter_ = std::make_unique<X11Presenter>();
        if (!presenter_->open(0, frame_->window())) {
            error = "cannot open a window on the display (is DISPLAY set?)";
            return false;
        }
        parent = reinterpret_cast<void*>(static_cast<std::uintptr_t>(presenter_->windowId()));
    }
    editorOpen_ = host_.dispatch(effEditOpen, 0, 0, parent) != 0;
    report(editorOpen_ ? "Open a file to begin." : "The plug-in opened no editor window.");
    showState();
    return true;
}

unsigned long GuiSession::hostWindow() const { return presenter_ != nullptr ? presenter_->windowId() : 0; }

void GuiSession::showFiles() {
    if (frame_ == nullptr) return;
    std::vector<std::string> names;
    for (const HeldFile& f : files_.files()) names.push_back(f.name + (f.temporary ? " (not saved)" : ""));
    frame_->showFiles(names, current_);
}

void GuiSession::notify(bool start) {
    ++reports_;
    host_.notifyFiles(start);
}

void GuiSession::report(const std::string& text) {
    status_ = text;
    if (frame_ != nullptr) frame_->showStatus(text);
}

void GuiSession::showState() {
    if (frame_ == nullptr) return;
    const AudioSource* file = host_.file();
    if (file == nullptr) {
        frame_->showPosition("No file.");
    } else {
        const double rate = file->sampleRate();
        const Selection& s = host_.selection();
        frame_->showPosition("Selection " + clockText(s.start, rate) + " - " + clockText(s.start + s.length, rate) +
                             "   Cursor " + clockText(host_.cursor(), rate) + "   " + std::to_string(file->channels()) +
                             " ch, " + std::to_string(static_cast<long long>(rate)) + " Hz");
    }
    frame_->enableCommands(!busy());
}

bool GuiSession::step() {
    if (presenter_ != nullptr) {
        presenter_->pump();
        if (presenter_->takeCloseRequest()) quit_ = true;
    }
    if (editorOpen_) host_.dispatch(effEditIdle);
    if (worker_.joinable() && !host_.taskRunning()) {
        worker_.join();
        taskEnded();
    }
    if (!busy() && host_.takeNotificationRequest()) notify(false);
    showState();
    return !quit_;
}

int GuiSession::run() {
    while (step()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return 0;
}

bool GuiSession::settle(int rounds) {
    for (int i = 0; i < rounds; ++i) {
        step();
        if (!busy() && !host_.takeNotificationRequest()) return true;
        // A request taken here is delivered at once, as the loop would.
        if (!busy()) notify(false);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

void GuiSession::command(int control, int entry) {
    switch (control) {
        case GuiFrame::kOpen: {
            std::string path;
            if (askForPath("Open audio file", false, path)) openFile(path);
            break;
        }
        case GuiFrame::kProcess: process(); break;
        case GuiFrame::kSaveAs: {
            std::string path;
            if (askForPath("Save audio file as", true, path)) saveAs(path);
            break;
        }
        case GuiFrame::kQuit: quit_ = true; break;
        case GuiFrame::kFileList: chooseFile(entry); break;
        default: break;
    }
}

bool GuiSession::openFile(const std::string& path) {
    if (busy()) {
        report("A task is running; open the file when it has ended.");
        return false;
    }
    std::string error;
    if (SndfileSource::open(path, error) == nullptr) {
        report("Cannot open '" + path + "': " + error);
        return false;
    }
    return chooseFile(files_.add(path, baseNameOf(path), false));
}

bool GuiSession::chooseFile(int index) {
    const HeldFile* file = files_.at(index);
    if (file == nullptr) return false;
    if (busy()) {
        report("A task is running; choose the file when it has ended.");
        return false;
    }
    std::string error;
    std::unique_ptr<SndfileSource> source = SndfileSource::open(file->path, error);
    if (source == nullptr) {
        report("Cannot open '" + file->path + "': " + error);
        return false;
    }
    host_.openFile(std::move(source), file->name, file->id);
    current_ = index;
    showFiles();
    notify(false);
    report("Opened " + file->name + ".");
    showState();
    return true;
}

bool GuiSession::process() {
    if (busy()) {
        report("A task is running.");
        return false;
    }
    if (host_.file() == nullptr || current_ < 0) {
        report("Open a file first.");
        return false;
    }
    std::string error;
    correction_ = soundio::ReplacingFile::create(files_.temporaryPath(), error);
    if (correction_ == nullptr) {
        report("Cannot make the corrected file: " + error);
        return false;
    }
    correctionName_ = "corrected " + files_.at(current_)->name;
    host_.setNewFileFactory(newFileInto(*correction_, soundio::containerByName("wav")));
    notify(true);
    // Refused, or done on this thread: the task has ended already.
    if (!busy()) taskEnded();
    else
        report("Correcting...");
    return true;
}

void GuiSession::taskEnded() {
    const TaskReport& task = host_.lastTask();
    if (correction_ != nullptr) {
        std::string error;
        if (!task.succeeded || task.newFiles != 1) {
            const std::string message = host_.pluginMessage();
            report(std::string(task.started ? "The correction failed" : "The plug-in did not start the correction") +
                   (task.error.empty() ? "" : ": " + task.error) + (message.empty() ? "" : " (" + message + ")"));
        } else if (!correction_->commit(error)) {
            report("Cannot keep the corrected file: " + error);
        } else {
            files_.add(correction_->target(), correctionName_, true);
            report("Made '" + correctionName_ + "' (" + std::to_string(task.framesWritten) +
                   " frames); Save as... keeps it.");
        }
        correction_.reset();
        host_.setNewFileFactory(nullptr);
        showFiles();
    } else if (task.started && !task.succeeded) {
        report("The plug-in's task failed" + (task.error.empty() ? std::string() : ": " + task.error));
    }
    // A host reports its files again after every task.
    notify(false);
}

bool GuiSession::saveAs(const std::string& path) {
    int index = current_;
    // The newest corrected file not yet saved goes first.
    for (int i = files_.count() - 1; i >= 0; --i)
        if (files_.at(i)->temporary) {
            index = i;
            break;
        }
    std::string error;
    if (!files_.saveAs(index, path, error)) {
        report("Cannot save: " + error);
        return false;
    }
    report("Saved '" + path + "'.");
    showFiles();
    return true;
}

}  // namespace wowfix::hostsim
