#pragma once
// Runs the jobs of a manifest (or of one shard of it), each in a process of
// its own so that one file's failure cannot take the others with it, up to
// `jobs` at a time. A job whose record says it succeeded with the same
// settings and input, and whose output is still the one it wrote, is up to
// date and skipped; everything else runs again, which is how a batch resumes
// after an interruption. Leftover ".NAME.partial-*" files of an interrupted
// job are removed before it runs again. The report is written at the end.

#include <ostream>
#include <string>

#include "hostsim/batch/BatchManifest.h"

namespace wowfix::batch {

struct BatchOptions {
    std::size_t jobs = 1;
    std::size_t shard = 1;  // 1 ... shards
    std::size_t shards = 1;
    std::string plugin;     // empty: the default plug-in
    bool quiet = false;
};

struct BatchOutcome {
    std::size_t ran = 0;
    std::size_t skipped = 0;
    std::size_t failed = 0;
};

// False only when the batch as a whole could not run (state folder, report);
// failed jobs are counted in `outcome`.
bool runBatch(const Manifest& manifest, const BatchOptions& options, BatchOutcome& outcome, std::ostream& out,
              std::string& error);

}  // namespace wowfix::batch
