#include "hostsim/cli/CorrectCommand.h"

#include "host/VendorCommands.h"
#include "hostsim/FileIdentity.h"
#include "hostsim/cli/CorrectionSteps.h"
#include "hostsim/cli/HostSession.h"

namespace wowfix::hostsim {

int runCorrect(const CorrectOptions& options, std::ostream& err) {
    std::string error;
    std::unique_ptr<SndfileSource> source = openInput(options.input, error);
    if (source == nullptr) return failWith(err, error);
    if (sameFile(options.input, options.output))
        return failWith(err, "'" + options.output + "' is the input file; it is never overwritten");
    int container = 0;
    if (!chooseOutputContainer(*source, options.input, options.format, options.quiet, err, container, error))
        return failWith(err, error);

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

    if (!writeCorrectedFile(host, options.output, container, options.quiet, err, error)) return failWith(err, error);
    return kExitSuccess;
}

}  // namespace wowfix::hostsim
