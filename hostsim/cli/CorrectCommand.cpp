#include "hostsim/cli/CorrectCommand.h"

#include "host/VendorCommands.h"
#include "hostsim/FileIdentity.h"
#include "hostsim/OutputFormat.h"
#include "hostsim/PartialFile.h"
#include "hostsim/SndfileSink.h"
#include "hostsim/cli/HostSession.h"
#include "hostsim/cli/ProgressBar.h"

#include <sndfile.h>

namespace wowfix::hostsim {

namespace {

int failWith(std::ostream& err, const std::string& message) {
    err << "wowfix-host: " << message << "\n";
    return kExitFailure;
}

std::string knownFormats() {
    std::string list;
    for (const std::string& name : containerNames()) list += (list.empty() ? "" : ", ") + name;
    return list;
}

}  // namespace

int runCorrect(const CorrectOptions& options, std::ostream& err) {
    std::string error;
    std::unique_ptr<SndfileSource> source = openInput(options.input, error);
    if (source == nullptr) return failWith(err, error);
    if (sameFile(options.input, options.output))
        return failWith(err, "'" + options.output + "' is the input file; it is never overwritten");

    const int container =
        options.format.empty() ? (source->format() & SF_FORMAT_TYPEMASK) : containerByName(options.format);
    if (container == 0 || containerName(container).empty()) {
        if (options.format.empty())
            return failWith(err, "cannot write the container of '" + options.input +
                                     "'; name one with --format (known: " + knownFormats() + ")");
        return failWith(err, "unknown format '" + options.format + "' (known: " + knownFormats() + ")");
    }
    const int encoding = chooseEncoding(container, source->channels(), static_cast<int>(source->sampleRate()));
    if (encoding == 0)
        return failWith(err, "the " + containerName(container) + " format cannot hold " +
                                 std::to_string(source->channels()) + " channels at " +
                                 std::to_string(static_cast<int>(source->sampleRate())) + " Hz");
    if (encoding != SF_FORMAT_FLOAT && !options.quiet)
        err << "wowfix-host: note: " << containerName(container) << " holds no 32-bit float; writing "
            << encodingName(encoding) << "\n";

    Selection selection{0.0, static_cast<double>(source->frames())};
    if (options.hasSelection) {
        if (options.selectionEnd > source->frames())
            return failWith(err, "bad selection " + std::to_string(options.selectionStart) + ":" +
                                     std::to_string(options.selectionEnd) + ": '" + options.input + "' has only " +
                                     std::to_string(source->frames()) + " frames");
        selection = Selection{static_cast<double>(options.selectionStart),
                              static_cast<double>(options.selectionEnd - options.selectionStart)};
    }

    OfflineHost host(options.blockSize);
    if (!startSession(host, options.plugin, std::move(source), options.input, error, &err))
        return failWith(err, error);
    host.setSelection(selection);

    vendor::CurveFile curve{static_cast<std::int32_t>(sizeof(vendor::CurveFile)), options.pvc.c_str(),
                            selection.length};
    if (host.vendorCommand(vendor::kLoadCurve, &curve) == 0)
        return failWith(err, withPluginMessage(host, "cannot use the curve '" + options.pvc + "'"));

    std::unique_ptr<PartialFile> partial = PartialFile::create(options.output, error);
    if (partial == nullptr) return failWith(err, error);
    const std::string output = options.output;
    host.setNewFileFactory([&partial, container, output](int channels, int sampleRate, std::string& why) {
        const int chosen = chooseEncoding(container, channels, sampleRate);
        if (chosen == 0) {
            why = "the " + containerName(container) + " format cannot hold the plug-in's new file (" +
                  std::to_string(channels) + " channels at " + std::to_string(sampleRate) + " Hz)";
            return std::unique_ptr<AudioSink>();
        }
        return std::unique_ptr<AudioSink>(
            SndfileSink::open(partial->takeDescriptor(), output, container | chosen, channels, sampleRate, why));
    });

    ProgressBar bar(err, "correcting");
    if (!options.quiet) host.setProgressObserver([&bar](double fraction) { bar.update(fraction); });
    host.notifyFiles(true);
    const TaskReport& task = host.lastTask();
    if (!task.succeeded) {
        bar.abandon();
        if (!task.started) return failWith(err, withPluginMessage(host, "the plug-in did not start the correction"));
        return failWith(err, withPluginMessage(host, "the correction failed: " + task.error));
    }
    if (task.newFiles != 1) {
        bar.abandon();
        return failWith(err, "the plug-in made no new file");
    }
    bar.finish();
    if (!partial->commit(error)) return failWith(err, error);
    if (!options.quiet)
        err << "wowfix-host: wrote '" << options.output << "': " << task.framesWritten << " frames, "
            << task.newFileChannels << " channels, " << task.newFileSampleRate << " Hz\n";
    return kExitSuccess;
}

}  // namespace wowfix::hostsim
