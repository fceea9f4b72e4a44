#include "hostsim/cli/SpectrogramCommand.h"

#include "host/VendorCommands.h"
#include "hostsim/FileIdentity.h"
#include "hostsim/cli/HostSession.h"
#include "hostsim/cli/PluginTask.h"
#include "hostsim/cli/SpectrogramSteps.h"

namespace wowfix::hostsim {

int runSpectrogram(const SpectrogramOptions& options, std::ostream& err) {
    std::string error;
    std::unique_ptr<SndfileSource> source = openInput(options.input, error);
    if (source == nullptr) return failWith(err, error);
    if (sameFile(options.input, options.output))
        return failWith(err, "'" + options.output + "' is the input file; it is never overwritten");
    if (options.hasRange && options.rangeEnd > source->frames())
        return failWith(err, "bad range " + std::to_string(options.rangeStart) + ":" +
                                 std::to_string(options.rangeEnd) + ": '" + options.input + "' has only " +
                                 std::to_string(source->frames()) + " frames");

    OfflineHost host(options.blockSize);
    if (!startSession(host, options.plugin, std::move(source), options.input, error, &err))
        return failWith(err, error);
    if (!options.pvc.empty()) host.vendorCommand(vendor::kSetPvcPath, const_cast<char*>(options.pvc.c_str()));
    if (!applyViewSettings(host, options, error)) return failWith(err, error);

    const int mode = options.hasRange ? kViewAcquisitionTask : kWholeFileAcquisitionTask;
    if (!runPluginTask(host, mode, "the spectrogram pass", "analysing", options.quiet, err, error))
        return failWith(err, error);

    int columns = 0;
    int rows = 0;
    if (!writeSpectrogramPng(host, options.output, columns, rows, error)) return failWith(err, error);
    if (!options.quiet)
        err << "wowfix-host: wrote '" << options.output << "': " << columns << " x " << rows << " pixels\n";
    return kExitSuccess;
}

}  // namespace wowfix::hostsim
