#pragma once
// wowfix-host batch MANIFEST [--jobs N] [--shard I/N] [--plugin PATH] [--quiet]

#include <ostream>
#include <string>
#include <vector>

namespace wowfix::batch {

// `args`: the words after "batch". Exit status 0 when every job of the
// shard succeeded or was up to date, 1 when any failed, 2 for a bad command
// line or manifest.
int runBatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace wowfix::batch
