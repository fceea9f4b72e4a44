#include "hostsim/batch/BatchCommand.h"

#include "hostsim/cli/HostSession.h"

namespace wowfix::batch {

// The batch runs each job in a worker process forked from the host, which
// Windows cannot do; the command says so instead of running the jobs.
int runBatchCommand(const std::vector<std::string>&, std::ostream&, std::ostream& err) {
    return hostsim::failWith(err,
                             "batch: not available on Windows (its jobs run in forked worker processes); "
                             "run correct or auto for each file instead",
                             hostsim::kExitUsage);
}

}  // namespace wowfix::batch
