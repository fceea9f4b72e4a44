#include "hostsim/batch/BatchCommand.h"

#include "hostsim/batch/BatchManifest.h"
#include "hostsim/batch/BatchRunner.h"
#include "hostsim/cli/Arguments.h"
#include "hostsim/cli/HostSession.h"

namespace wowfix::batch {

namespace {

bool parseShard(const std::string& text, std::size_t& shard, std::size_t& count) {
    const std::size_t slash = text.find('/');
    long long i = 0, n = 0;
    if (slash == std::string::npos || !hostsim::parseWholeNumber(text.substr(0, slash), i) ||
        !hostsim::parseWholeNumber(text.substr(slash + 1), n) || n < 1 || i < 1 || i > n)
        return false;
    shard = static_cast<std::size_t>(i);
    count = static_cast<std::size_t>(n);
    return true;
}

}  // namespace

int runBatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    using hostsim::failWith;
    BatchOptions options;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        const bool option = name.rfind("--", 0) == 0;
        if (!option) {
            files.push_back(name);
            continue;
        }
        if (name == "--quiet") {
            options.quiet = true;
            continue;
        }
        if (const std::size_t eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
        } else if (name == "--jobs" || name == "--shard" || name == "--plugin") {
            if (i + 1 >= args.size()) return failWith(err, "option " + name + " needs a value", hostsim::kExitUsage);
            value = args[++i];
        }
        long long n = 0;
        if (name == "--jobs") {
            if (!hostsim::parseWholeNumber(value, n) || n < 1 || n > 256)
                return failWith(err, "bad --jobs '" + value + "': expected 1 ... 256", hostsim::kExitUsage);
            options.jobs = static_cast<std::size_t>(n);
        } else if (name == "--shard") {
            if (!parseShard(value, options.shard, options.shards))
                return failWith(err, "bad --shard '" + value + "': expected I/N with 1 <= I <= N", hostsim::kExitUsage);
        } else if (name == "--plugin") {
            options.plugin = value;
        } else {
            return failWith(err, "unknown option '" + args[i] + "'", hostsim::kExitUsage);
        }
    }
    if (files.size() != 1)
        return failWith(err, files.empty() ? "missing arguments; usage: wowfix-host batch MANIFEST [--jobs N] [--shard I/N]"
                                           : "unexpected argument '" + files[1] + "'",
                        hostsim::kExitUsage);
    Manifest manifest;
    std::string error;
    if (!readManifest(files[0], manifest, error)) return failWith(err, error, hostsim::kExitUsage);
    BatchOutcome outcome;
    if (!runBatch(manifest, options, outcome, out, error)) return failWith(err, error);
    return outcome.failed == 0 ? hostsim::kExitSuccess : hostsim::kExitFailure;
}

}  // namespace wowfix::batch
