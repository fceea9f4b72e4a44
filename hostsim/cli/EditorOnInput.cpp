#include "hostsim/cli/EditorOnInput.h"

#include "hostsim/cli/EditorWindowOpening.h"
#include "hostsim/cli/HostSession.h"
#include "hostsim/cli/PluginTask.h"

#include <utility>

namespace wowfix::hostsim {

bool openEditorOnInput(OfflineHost& host, EditorParent& parent, const std::string& pluginOption,
                       std::unique_ptr<SndfileSource> source, const std::string& inputPath, bool quiet,
                       std::ostream& err, std::string& error) {
    if (!startSession(host, pluginOption, std::move(source), inputPath, error, &err)) return false;
    if (!openEditorWindow(host, parent, error)) return false;
    const bool passed = runPluginTask(host, kWholeFileAcquisitionTask, "the spectrogram pass", "analysing", quiet,
                                      err, error, 1, [&parent, &host] { parent.pump(host); });
    parent.pump(host);
    if (!passed) host.dispatch(effEditClose, 0, 0, nullptr);
    return passed;
}

}  // namespace wowfix::hostsim
