#include "hostsim/cli/GuiCommand.h"

#include "hostsim/cli/HostSession.h"
#include "hostsim/cli/PluginLocator.h"

#ifdef WOWFIX_WITH_GUI
#include "hostsim/gui/GuiSession.h"
#endif

namespace wowfix::hostsim {

int runGui(const std::vector<std::string>& args, std::ostream& err) {
    std::string input;
    std::string pluginOption;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--plugin") {
            if (i + 1 >= args.size()) return failWith(err, "--plugin needs a path", kExitUsage);
            pluginOption = args[++i];
        } else if (!args[i].empty() && args[i][0] == '-') {
            return failWith(err, "gui: unknown option '" + args[i] + "'", kExitUsage);
        } else if (input.empty()) {
            input = args[i];
        } else {
            return failWith(err, "gui takes one INPUT at most", kExitUsage);
        }
    }
#ifdef WOWFIX_WITH_GUI
    std::string error;
    std::string pluginPath;
    if (!locatePlugin(pluginOption, pluginPath, error)) return failWith(err, error);
    GuiSession session;
    if (!session.start(pluginPath, true, error)) return failWith(err, error);
    if (!input.empty() && !session.openFile(input)) return failWith(err, session.status());
    return session.run();
#else
    return failWith(err, "this wowfix-host was built without X11; gui is not available");
#endif
}

}  // namespace wowfix::hostsim
