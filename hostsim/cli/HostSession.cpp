#include "hostsim/cli/HostSession.h"

#include "hostsim/cli/PluginLocator.h"

#include <ostream>

namespace wowfix::hostsim {

int failWith(std::ostream& err, const std::string& message, int status) {
    err << "wowfix-host: " << message << "\n";
    return status;
}

std::unique_ptr<SndfileSource> openInput(const std::string& path, std::string& error) {
    std::unique_ptr<SndfileSource> source = SndfileSource::open(path, error);
    if (source != nullptr && source->frames() < 1) {
        error = "cannot use '" + path + "': it holds no audio frames";
        return nullptr;
    }
    return source;
}

bool startSession(OfflineHost& host, const std::string& pluginOption, std::unique_ptr<AudioSource> source,
                  const std::string& inputPath, std::string& error, std::ostream* notes) {
    std::string pluginPath;
    if (!locatePlugin(pluginOption, pluginPath, error)) return false;
    if (!host.loadPlugin(pluginPath)) {
        error = host.error();
        return false;
    }
    // What the plug-in could not set up for itself (e.g. its undo folder) is
    // worth knowing even when the run goes on.
    const std::string note = host.pluginMessage();
    if (!note.empty() && notes != nullptr) *notes << "wowfix-host: note: " << note << "\n";
    const int channels = source->channels();
    const double rate = source->sampleRate();
    host.openFile(std::move(source), baseName(inputPath));
    if (host.notifyFiles(false) == 0) {
        error = withPluginMessage(host, "the plug-in does not take '" + inputPath + "' (" + std::to_string(channels) +
                                            " channels at " + std::to_string(static_cast<long long>(rate)) + " Hz)");
        return false;
    }
    return true;
}

std::string withPluginMessage(OfflineHost& host, const std::string& text) {
    const std::string message = host.pluginMessage();
    return message.empty() ? text : text + ": " + message;
}

std::string baseName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace wowfix::hostsim
