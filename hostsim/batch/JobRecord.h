#pragma once
// What a batch knows about one job, kept in the manifest's state folder as
// "job-N.txt" lines of "key=value": the outcome, the fingerprint of the
// settings and the input it was made from, the output's size and time, and
// the wow-and-flutter figures before and after. Written beside and renamed,
// and only after the output is in place, so a record that says "ok" always
// belongs to a complete output.

#include <cstdint>
#include <optional>
#include <string>

#include "hostsim/batch/BatchManifest.h"

namespace wowfix::batch {

struct Figures {
    double weightedPeak2Sigma = 0.0;  // fraction
    double weightedRms = 0.0;
    double unweightedPeak = 0.0;
    double offset = 0.0;
};

struct JobRecord {
    std::string status = "pending";  // ok, failed, pending
    std::string message;
    std::string fingerprint;
    std::string outputStamp;  // size and modification time of the output written
    std::optional<Figures> before;
    std::optional<Figures> after;
    double seconds = 0.0;  // the job's run time
};

std::string recordPath(const Manifest& manifest, const BatchJob& job);
bool writeRecord(const std::string& path, const JobRecord& record, std::string& error);
// False when there is none (or it cannot be read): the job has not run.
bool readRecord(const std::string& path, JobRecord& record);

// The job's settings and the input's size and time, hashed: equal
// fingerprints mean the same output would be made again.
std::string fingerprintOf(const BatchJob& job);
// "size:mtime" of a file; empty when it does not exist.
std::string fileStamp(const std::string& path);

}  // namespace wowfix::batch
