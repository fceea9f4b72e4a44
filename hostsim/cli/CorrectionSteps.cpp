#include "hostsim/cli/CorrectionSteps.h"

#include "tools/soundio/SoundFormats.h"
#include "tools/soundio/ReplacingFile.h"
#include "hostsim/SndfileSink.h"
#include "hostsim/cli/HostSession.h"
#include "hostsim/cli/ProgressBar.h"
#include "hostsim/NewFileSink.h"

#include <sndfile.h>

namespace wowfix::hostsim {

namespace {

std::string knownFormats() {
    std::string list;
    for (const std::string& name : soundio::containerNames()) list += (list.empty() ? "" : ", ") + name;
    return list;
}

}  // namespace

bool chooseOutputContainer(const SndfileSource& source, const std::string& input, const std::string& format,
                           bool quiet, std::ostream& err, int& container, std::string& error) {
    container = format.empty() ? (source.format() & SF_FORMAT_TYPEMASK) : soundio::containerByName(format);
    if (container == 0 || soundio::containerName(container).empty()) {
        error = format.empty() ? "cannot write the container of '" + input + "'; name one with --format (known: " +
                                     knownFormats() + ")"
                               : "unknown format '" + format + "' (known: " + knownFormats() + ")";
        return false;
    }
    const int rate = static_cast<int>(source.sampleRate());
    const int encoding = soundio::chooseEncoding(container, source.channels(), rate);
    if (encoding == 0) {
        error = "the " + soundio::containerName(container) + " format cannot hold " +
                std::to_string(source.channels()) + " channels at " + std::to_string(rate) + " Hz";
        return false;
    }
    if (encoding != SF_FORMAT_FLOAT && !quiet)
        err << "wowfix-host: note: " << soundio::containerName(container) << " holds no 32-bit float; writing "
            << soundio::encodingName(encoding) << "\n";
    return true;
}

bool writeCorrectedFile(OfflineHost& host, const std::string& output, int container, bool quiet, std::ostream& err,
                        std::string& error, const std::function<bool(std::string&)>& waitForTask) {
    std::unique_ptr<soundio::ReplacingFile> partial = soundio::ReplacingFile::create(output, error);
    if (partial == nullptr) return false;
    host.setNewFileFactory(newFileInto(*partial, container));

    ProgressBar bar(err, "correcting");
    if (!quiet) host.setProgressObserver([&bar](double fraction) { bar.update(fraction); });
    host.notifyFiles(true);
    std::string waitError;
    const bool ended = !waitForTask || waitForTask(waitError);
    host.setProgressObserver(nullptr);
    host.setNewFileFactory(nullptr);
    if (!ended) {
        bar.abandon();
        error = waitError;
        return false;
    }
    const TaskReport& task = host.lastTask();
    if (!task.succeeded) {
        bar.abandon();
        error = task.started ? withPluginMessage(host, "the correction failed: " + task.error)
                             : withPluginMessage(host, "the plug-in did not start the correction");
        return false;
    }
    if (task.newFiles != 1) {
        bar.abandon();
        error = "the plug-in made no new file";
        return false;
    }
    bar.finish();
    if (!partial->commit(error)) return false;
    if (!quiet)
        err << "wowfix-host: wrote '" << output << "': " << task.framesWritten << " frames, "
            << task.newFileChannels << " channels, " << task.newFileSampleRate << " Hz\n";
    return true;
}

}  // namespace wowfix::hostsim
