#include "hostsim/batch/JobRecord.h"

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "hostsim/batch/WholeFile.h"

namespace wowfix::batch {

namespace {

std::string figuresText(const Figures& f) {
    std::ostringstream s;
    s.precision(10);
    s << f.weightedPeak2Sigma << " " << f.weightedRms << " " << f.unweightedPeak << " " << f.offset;
    return s.str();
}

bool parseFigures(const std::string& text, Figures& f) {
    std::istringstream s(text);
    s.imbue(std::locale::classic());
    return static_cast<bool>(s >> f.weightedPeak2Sigma >> f.weightedRms >> f.unweightedPeak >> f.offset);
}

std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

}  // namespace

std::string recordPath(const Manifest& manifest, const BatchJob& job) {
    return manifest.stateFolder + "/job-" + std::to_string(job.index + 1) + ".txt";
}

bool writeRecord(const std::string& path, const JobRecord& r, std::string& error) {
    std::ostringstream s;
    s.imbue(std::locale::classic());
    s << "status=" << r.status << "\nmessage=" << oneLine(r.message) << "\nfingerprint=" << r.fingerprint
      << "\noutput=" << r.outputStamp << "\nseconds=" << r.seconds << "\n";
    if (r.before) s << "before=" << figuresText(*r.before) << "\n";
    if (r.after) s << "after=" << figuresText(*r.after) << "\n";
    return writeWholeFile(path, s.str(), error);
}

bool readRecord(const std::string& path, JobRecord& r) {
    std::ifstream in(path);
    if (!in) return false;
    r = JobRecord{};
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq);
        const std::string value = line.substr(eq + 1);
        Figures f;
        if (key == "status") r.status = value;
        else if (key == "message") r.message = value;
        else if (key == "fingerprint") r.fingerprint = value;
        else if (key == "output") r.outputStamp = value;
        else if (key == "seconds") r.seconds = std::atof(value.c_str());
        else if (key == "before" && parseFigures(value, f)) r.before = f;
        else if (key == "after" && parseFigures(value, f)) r.after = f;
    }
    return r.status == "ok" || r.status == "failed";
}

std::string fileStamp(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return "";
    return std::to_string(static_cast<long long>(st.st_size)) + ":" + std::to_string(static_cast<long long>(st.st_mtim.tv_sec)) +
           "." + std::to_string(static_cast<long long>(st.st_mtim.tv_nsec));
}

std::string fingerprintOf(const BatchJob& job) {
    // FNV-1a, 64 bits: the same on every machine of a shared archive.
    const std::string text = job.settingsText() + "\ninput stamp=" + fileStamp(job.input) +
                             "\npvc stamp=" + (job.pvc.empty() ? "" : fileStamp(job.pvc));
    std::uint64_t h = 1469598103934665603ull;
    for (unsigned char c : text) {
        h ^= c;
        h *= 1099511628211ull;
    }
    char hex[17];
    std::snprintf(hex, sizeof(hex), "%016llx", static_cast<unsigned long long>(h));
    return hex;
}

}  // namespace wowfix::batch
