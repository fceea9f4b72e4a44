#pragma once
// The report of a batch over all its jobs (not only the shard that ran):
// REPORT.csv and REPORT.json, one entry per file with its outcome and the
// weighted 2-sigma and RMS wow and flutter before and after, in percent.
// Jobs without a record show as "pending". Both files are written beside
// and renamed, so shards finishing together leave one complete report.

#include <string>
#include <vector>

#include "hostsim/batch/BatchManifest.h"
#include "hostsim/batch/JobRecord.h"

namespace wowfix::batch {

std::string reportCsv(const Manifest& manifest, const std::vector<JobRecord>& records);
std::string reportJson(const Manifest& manifest, const std::vector<JobRecord>& records);
bool writeReport(const Manifest& manifest, const std::vector<JobRecord>& records, std::string& error);

}  // namespace wowfix::batch
