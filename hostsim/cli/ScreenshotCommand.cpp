#include "hostsim/cli/ScreenshotCommand.h"

#include "host/VendorCommands.h"
#include "hostsim/FileIdentity.h"
#include "hostsim/cli/CommandWords.h"
#include "hostsim/cli/EditorActions.h"
#include "hostsim/cli/EditorOnInput.h"
#include "hostsim/cli/EditorParent.h"
#include "hostsim/cli/HostSession.h"
#include "hostsim/cli/PngImage.h"

#include <cstdio>

namespace wowfix::hostsim {

namespace {

struct ScreenshotOptions {
    std::string input;
    std::string output;
    std::string after;
    std::string plugin;
    bool panelOnly = false;
    bool quiet = false;
};

bool parseOptions(const std::vector<std::string>& args, ScreenshotOptions& options, std::string& error) {
    std::vector<std::string> positional;
    if (!readCommandWords(args, {{"--after", &options.after}, {"--plugin", &options.plugin}},
                          {{"--panel", &options.panelOnly}, {"--quiet", &options.quiet}}, 2,
                          "usage: wowfix-host screenshot INPUT OUT.png [--after \"ACTIONS\"] [--panel]", positional,
                          error))
        return false;
    options.input = positional[0];
    options.output = positional[1];
    return true;
}

bool writePicture(const std::string& path, const vendor::WindowPicture& picture,
                  const std::vector<std::uint32_t>& pixels, std::string& error) {
    return writeRgbPngFile(path, picture.width, picture.height, pixels, error);
}

}  // namespace

int runScreenshot(const std::vector<std::string>& args, std::ostream& err) {
    ScreenshotOptions options;
    std::string error;
    if (!parseOptions(args, options, error)) return failWith(err, error, kExitUsage);
    std::vector<EditorActionText> actions;
    if (!parseEditorActions(options.after, actions, error)) return failWith(err, error, kExitUsage);
    std::unique_ptr<SndfileSource> source = openInput(options.input, error);
    if (source == nullptr) return failWith(err, error);
    if (sameFile(options.input, options.output))
        return failWith(err, "'" + options.output + "' is the input file; it is never overwritten");

    // The parent outlives the host, which closes an editor left open.
    EditorParent parent;
    OfflineHost host;
    if (!openEditorOnInput(host, parent, options.plugin, std::move(source), options.input, options.quiet, err, error))
        return failWith(err, error);
    int status = kExitSuccess;
    for (std::size_t i = 0; status == kExitSuccess && i < actions.size(); ++i) {
        vendor::EditorAction action = actions[i].action;
        action.path = actions[i].path.c_str();
        if (host.vendorCommand(vendor::kEditorAction, &action) == 0)
            status = failWith(err, "action '" + actions[i].text + "' cannot be done in the window");
        parent.pump(host);
    }
    vendor::WindowPicture picture{};
    std::vector<std::uint32_t> pixels;
    if (status == kExitSuccess && !readEditorPicture(host, options.panelOnly, picture, pixels))
        status = failWith(err, "the plug-in gave no picture of its window");
    if (status == kExitSuccess && !writePicture(options.output, picture, pixels, error)) status = failWith(err, error);
    host.dispatch(effEditClose, 0, 0, nullptr);
    if (status == kExitSuccess && !options.quiet)
        err << "wowfix-host: wrote '" << options.output << "': " << picture.width << " x " << picture.height
            << " pixels\n";
    return status;
}

}  // namespace wowfix::hostsim
