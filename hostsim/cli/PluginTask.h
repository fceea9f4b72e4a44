#pragma once
// Asking the plug-in for one of its tasks as its editor would (kRequestTask),
// or through the editor's own button, with a progress bar on the way: the
// task runs inside the host's next file notification, so it has ended when
// the request returns.

#include "hostsim/OfflineHost.h"

#include <functional>
#include <ostream>
#include <string>

namespace wowfix::hostsim {

// Task modes the commands request.
constexpr int kWholeFileAcquisitionTask = 1;
constexpr int kLibraryDetectionTask = 3;
constexpr int kPilotToneTrackingTask = 4;
constexpr int kSpectralDetectionTask = 7;
constexpr int kViewAcquisitionTask = 8;

// Runs task `mode`; `what` names it in messages ("the spectrogram pass"),
// `label` heads the progress bar (none when `quiet`). False with `error` set,
// carrying the plug-in's own message, when the plug-in refused the request,
// did not start the task or the task failed. A task that reads the file
// `passes` times reports each pass from 0 to 1; the bar shows them one after
// the other. `whileRunning`, when given, is called with each progress report
// (a host with an open editor window pumps its messages there).
bool runPluginTask(OfflineHost& host, int mode, const std::string& what, const std::string& label, bool quiet,
                   std::ostream& err, std::string& error, int passes = 1,
                   const std::function<void()>& whileRunning = {});

// The same for a task that `request` asks for in another way (a click on
// the editor's button): `request` answers false when it could not be given.
bool runRequestedTask(OfflineHost& host, const std::function<bool()>& request, const std::string& what,
                      const std::string& label, bool quiet, std::ostream& err, std::string& error, int passes = 1,
                      const std::function<void()>& whileRunning = {});

}  // namespace wowfix::hostsim
