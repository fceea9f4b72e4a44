#pragma once
// Tasks on a worker thread, as a host with a user interface runs them: the
// plug-in's offlineRun goes to the worker while the host's own thread goes
// on with the window; the host's loop sends the file notifications the
// plug-in asks for and gives the editor its idle time. For scripts that
// replay a user's session in such a host.

#include "hostsim/OfflineHost.h"

#include <chrono>
#include <string>
#include <thread>

namespace wowfix::hostsim {

class WorkerTasks {
public:
    // Longest a settle goes on while the plug-in keeps asking for
    // notifications with no task running.
    static constexpr std::chrono::seconds kSettleLimit{600};

    // From now on `host` hands its audio tasks to the worker.
    explicit WorkerTasks(OfflineHost& host);
    // A task still running ends before the host goes back to running tasks
    // itself.
    ~WorkerTasks();
    WorkerTasks(const WorkerTasks&) = delete;
    WorkerTasks& operator=(const WorkerTasks&) = delete;

    // The host's loop until nothing is left to do: no task running, no
    // notification asked for, for a few rounds in a row. A running task is
    // waited for until it ends. False with `error` when the plug-in is still
    // asking after `limit`, or the host reported an error on the way.
    bool settle(std::string& error, std::chrono::milliseconds limit = kSettleLimit);

private:
    OfflineHost& host_;
    std::thread worker_;
};

}  // namespace wowfix::hostsim
