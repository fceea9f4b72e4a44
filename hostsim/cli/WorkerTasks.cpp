#include "hostsim/cli/WorkerTasks.h"

#include <utility>

namespace wowfix::hostsim {

namespace {

// Rounds of the loop with nothing to do before the plug-in counts as at rest:
// the editor's idle may still ask for a notification after a task ended.
constexpr int kCalmRounds = 4;
constexpr std::chrono::milliseconds kRoundPause{5};

}  // namespace

WorkerTasks::WorkerTasks(OfflineHost& host) : host_(host) {
    host_.setTaskRunner([this](std::function<void()> task) {
        // The host starts one task at a time: the previous one has ended and
        // its thread is only being left.
        if (worker_.joinable()) worker_.join();
        worker_ = std::thread(std::move(task));
    });
}

WorkerTasks::~WorkerTasks() {
    if (worker_.joinable()) worker_.join();
    host_.setTaskRunner(nullptr);
}

bool WorkerTasks::settle(std::string& error, std::chrono::milliseconds limit) {
    const std::string errorBefore = host_.error();
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int calm = 0;
    while (calm < kCalmRounds) {
        host_.dispatch(effEditIdle);
        if (worker_.joinable() && !host_.taskRunning()) worker_.join();
        const bool running = host_.taskRunning();
        const bool asked = !running && host_.takeNotificationRequest();
        if (asked) host_.notifyFiles(false);
        calm = running || asked || worker_.joinable() ? 0 : calm + 1;
        if (calm >= kCalmRounds) break;
        // A running task is always waited for (what it writes into goes when
        // the wait ends); only a plug-in that keeps asking is given up on.
        if (!running && !worker_.joinable() && std::chrono::steady_clock::now() > deadline) {
            error = "the plug-in did not come to rest within " +
                    std::to_string(std::chrono::duration_cast<std::chrono::seconds>(limit).count()) + " s";
            return false;
        }
        std::this_thread::sleep_for(kRoundPause);
    }
    if (!host_.error().empty() && host_.error() != errorBefore) {
        error = host_.error();
        return false;
    }
    return true;
}

}  // namespace wowfix::hostsim
