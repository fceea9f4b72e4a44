#include "hostsim/batch/BatchRunner.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>

#include "hostsim/batch/BatchReport.h"
#include "hostsim/batch/JobRecord.h"
#include "hostsim/batch/JobRunner.h"

namespace wowfix::batch {

namespace fs = std::filesystem;

namespace {

bool upToDate(const BatchJob& job, const JobRecord& record) {
    return record.status == "ok" && record.fingerprint == fingerprintOf(job) &&
           !record.outputStamp.empty() && record.outputStamp == fileStamp(job.output);
}

// The temporary files an interrupted write of `target` left behind.
void removeLeftovers(const std::string& target) {
    const fs::path t(target);
    const fs::path folder = t.has_parent_path() ? t.parent_path() : fs::path(".");
    const std::string prefix = "." + t.filename().string() + ".partial-";
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (entry.path().filename().string().rfind(prefix, 0) == 0) fs::remove(entry.path(), ec);
}

std::string percentText(const std::optional<Figures>& f) {
    if (!f) return "-";
    char text[32];
    std::snprintf(text, sizeof(text), "%.3f %%", 100.0 * f->weightedPeak2Sigma);
    return text;
}

void tell(std::ostream& out, const BatchJob& job, std::size_t total, const JobRecord& r) {
    out << "[" << job.index + 1 << "/" << total << "] " << job.input << ": " << r.status;
    if (r.status == "ok")
        out << ", weighted W&F (2 sigma) " << percentText(r.before) << " -> " << percentText(r.after);
    else
        out << ": " << r.message;
    out << "\n" << std::flush;
}

// Runs in the child: the job, its record, and the exit.
[[noreturn]] void runChild(const Manifest& manifest, const BatchJob& job, const std::string& plugin) {
    const std::string path = recordPath(manifest, job);
    std::ofstream log(manifest.stateFolder + "/job-" + std::to_string(job.index + 1) + ".log");
    JobRecord record = runJob(manifest, job, plugin, log);
    std::string error;
    if (!writeRecord(path, record, error)) log << error << "\n";
    log.flush();
    _exit(record.status == "ok" ? 0 : 1);
}

}  // namespace

bool runBatch(const Manifest& manifest, const BatchOptions& options, BatchOutcome& outcome, std::ostream& out,
              std::string& error) {
    outcome = BatchOutcome{};
    std::error_code ec;
    fs::create_directories(manifest.stateFolder, ec);
    if (!fs::is_directory(manifest.stateFolder, ec)) {
        error = manifest.stateFolder + ": cannot create the batch's state folder";
        return false;
    }
    const std::size_t total = manifest.jobs.size();
    std::vector<std::size_t> queue;
    for (std::size_t i : shardJobs(total, options.shard, options.shards)) {
        const BatchJob& job = manifest.jobs[i];
        JobRecord record;
        if (readRecord(recordPath(manifest, job), record) && upToDate(job, record)) {
            ++outcome.skipped;
            if (!options.quiet) out << "[" << i + 1 << "/" << total << "] " << job.input << ": up to date\n";
            continue;
        }
        queue.push_back(i);
    }

    std::map<pid_t, std::size_t> running;
    std::size_t next = 0;
    const std::size_t width = std::max<std::size_t>(1, options.jobs);
    while (next < queue.size() || !running.empty()) {
        while (next < queue.size() && running.size() < width) {
            const BatchJob& job = manifest.jobs[queue[next]];
            for (const std::string& target : {job.output, curvePathFor(job), recordPath(manifest, job)})
                removeLeftovers(target);
            out.flush();
            std::fflush(nullptr);
            const pid_t pid = fork();
            if (pid == 0) runChild(manifest, job, options.plugin);
            if (pid < 0) {
                error = std::string("cannot start a job: ") + std::strerror(errno);
                return false;
            }
            running[pid] = queue[next++];
        }
        int status = 0;
        const pid_t done = waitpid(-1, &status, 0);
        if (done < 0) {
            if (errno == EINTR) continue;
            error = std::string("waiting for the jobs failed: ") + std::strerror(errno);
            return false;
        }
        const auto found = running.find(done);
        if (found == running.end()) continue;
        const BatchJob& job = manifest.jobs[found->second];
        running.erase(found);
        ++outcome.ran;
        JobRecord record;
        if (WIFSIGNALED(status) || !readRecord(recordPath(manifest, job), record)) {
            record = JobRecord{};
            record.status = "failed";
            record.fingerprint = fingerprintOf(job);
            record.message = WIFSIGNALED(status) ? "the job was ended by signal " + std::to_string(WTERMSIG(status))
                                                 : "the job ended without a record";
            std::string ignored;
            writeRecord(recordPath(manifest, job), record, ignored);
        }
        if (record.status != "ok") ++outcome.failed;
        if (!options.quiet || record.status != "ok") tell(out, job, total, record);
    }

    std::vector<JobRecord> records(total);
    for (std::size_t i = 0; i < total; ++i)
        if (!readRecord(recordPath(manifest, manifest.jobs[i]), records[i])) records[i] = JobRecord{};
    if (!writeReport(manifest, records, error)) return false;
    if (!options.quiet)
        out << "ran " << outcome.ran << ", up to date " << outcome.skipped << ", failed " << outcome.failed
            << "; report " << manifest.reportBase << ".csv and .json\n";
    return true;
}

}  // namespace wowfix::batch
