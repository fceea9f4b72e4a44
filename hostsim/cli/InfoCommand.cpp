#include "hostsim/cli/InfoCommand.h"

#include "hostsim/cli/HostSession.h"
#include "hostsim/cli/PluginInfo.h"
#include "hostsim/cli/PluginLocator.h"

namespace wowfix::hostsim {

int runInfo(const InfoOptions& options, std::ostream& out, std::ostream& err) {
    std::string path;
    std::string error;
    if (!locatePlugin(options.plugin, path, error)) {
        err << "wowfix-host: " << error << "\n";
        return kExitFailure;
    }
    OfflineHost host;
    if (!host.loadPlugin(path)) {
        err << "wowfix-host: " << host.error() << "\n";
        return kExitFailure;
    }
    printPluginInfo(gatherPluginInfo(host), out);
    return kExitSuccess;
}

}  // namespace wowfix::hostsim
