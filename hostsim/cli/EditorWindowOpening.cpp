#include "hostsim/cli/EditorWindowOpening.h"

#include "hostsim/cli/HostSession.h"

namespace wowfix::hostsim {

bool openEditorWindow(OfflineHost& host, EditorParent& parent, std::string& error) {
    ERect* rect = nullptr;
    if (host.dispatch(effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr || rect->right <= rect->left ||
        rect->bottom <= rect->top) {
        error = withPluginMessage(host, "the plug-in opens no editor window");
        return false;
    }
    if (!parent.create(rect->right - rect->left, rect->bottom - rect->top, error)) return false;
    if (host.dispatch(effEditOpen, 0, 0, parent.handle()) == 0) {
        error = withPluginMessage(host, "the plug-in opens no editor window");
        return false;
    }
    parent.pump(host);
    return true;
}

}  // namespace wowfix::hostsim
