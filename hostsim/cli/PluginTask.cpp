#include "hostsim/cli/PluginTask.h"

#include "host/VendorCommands.h"
#include "hostsim/cli/HostSession.h"
#include "hostsim/cli/ProgressBar.h"

namespace wowfix::hostsim {

bool runPluginTask(OfflineHost& host, int mode, const std::string& what, const std::string& label, bool quiet,
                   std::ostream& err, std::string& error, int passes,
                   const std::function<void()>& whileRunning) {
    const auto request = [&host, mode] {
        return host.vendorCommand(vendor::kRequestTask, nullptr, static_cast<float>(mode)) != 0;
    };
    return runRequestedTask(host, request, what, label, quiet, err, error, passes, whileRunning);
}

bool runRequestedTask(OfflineHost& host, const std::function<bool()>& request, const std::string& what,
                      const std::string& label, bool quiet, std::ostream& err, std::string& error, int passes,
                      const std::function<void()>& whileRunning) {
    ProgressBar bar(err, label);
    if (passes < 1) passes = 1;
    int pass = 0;
    double last = 0.0;
    if (!quiet || whileRunning)
        host.setProgressObserver([&bar, &pass, &last, passes, quiet, &whileRunning](double fraction) {
            if (whileRunning) whileRunning();
            if (quiet) return;
            // A pass starts again from the beginning of the file.
            if (fraction < last && pass + 1 < passes) ++pass;
            last = fraction;
            bar.update((pass + fraction) / passes);
        });
    const int tasksBefore = host.tasksStarted();
    const bool requested = request();
    host.setProgressObserver(nullptr);
    if (!requested || host.tasksStarted() == tasksBefore) {
        bar.abandon();
        error = withPluginMessage(host, "the plug-in did not start " + what);
        return false;
    }
    if (!host.lastTask().succeeded) {
        bar.abandon();
        const std::string& hostError = host.lastTask().error;
        error = withPluginMessage(host, what + " failed" + (hostError.empty() ? "" : ": " + hostError));
        return false;
    }
    bar.finish();
    return true;
}

}  // namespace wowfix::hostsim
