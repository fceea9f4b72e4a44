#include "hostsim/batch/BatchReport.h"

#include <cstdio>
#include <sstream>

#include "hostsim/batch/WholeFile.h"

namespace wowfix::batch {

namespace {

std::string percent(const std::optional<Figures>& f, double Figures::*field) {
    if (!f) return "";
    char text[32];
    std::snprintf(text, sizeof(text), "%.4f", 100.0 * ((*f).*field));
    return text;
}

std::string csvField(const std::string& s) {
    if (s.find_first_of(",\"\n") == std::string::npos) return s;
    std::string q = "\"";
    for (char c : s) q += c == '"' ? std::string("\"\"") : std::string(1, c);
    return q + "\"";
}

std::string jsonText(const std::string& s) {
    std::string q = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') q += '\\', q += static_cast<char>(c);
        else if (c < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof(esc), "\\u%04x", c);
            q += esc;
        } else q += static_cast<char>(c);
    }
    return q + "\"";
}

std::string jsonNumber(const std::string& s) { return s.empty() ? "null" : s; }

}  // namespace

std::string reportCsv(const Manifest& manifest, const std::vector<JobRecord>& records) {
    std::ostringstream s;
    s << "job,input,output,status,before_weighted_2sigma_percent,before_weighted_rms_percent,"
         "after_weighted_2sigma_percent,after_weighted_rms_percent,seconds,message\r\n";
    for (std::size_t i = 0; i < manifest.jobs.size() && i < records.size(); ++i) {
        const JobRecord& r = records[i];
        char seconds[32];
        std::snprintf(seconds, sizeof(seconds), "%.1f", r.seconds);
        s << i + 1 << "," << csvField(manifest.jobs[i].input) << "," << csvField(manifest.jobs[i].output) << ","
          << r.status << "," << percent(r.before, &Figures::weightedPeak2Sigma) << ","
          << percent(r.before, &Figures::weightedRms) << "," << percent(r.after, &Figures::weightedPeak2Sigma) << ","
          << percent(r.after, &Figures::weightedRms) << "," << seconds << "," << csvField(r.message) << "\r\n";
    }
    return s.str();
}

std::string reportJson(const Manifest& manifest, const std::vector<JobRecord>& records) {
    std::ostringstream s;
    s << "{\n  \"manifest\": " << jsonText(manifest.path) << ",\n  \"files\": [";
    for (std::size_t i = 0; i < manifest.jobs.size() && i < records.size(); ++i) {
        const JobRecord& r = records[i];
        char seconds[32];
        std::snprintf(seconds, sizeof(seconds), "%.1f", r.seconds);
        s << (i ? "," : "") << "\n    {\"job\": " << i + 1 << ", \"input\": " << jsonText(manifest.jobs[i].input)
          << ", \"output\": " << jsonText(manifest.jobs[i].output) << ", \"status\": " << jsonText(r.status)
          << ",\n     \"before\": {\"weighted_2sigma_percent\": "
          << jsonNumber(percent(r.before, &Figures::weightedPeak2Sigma))
          << ", \"weighted_rms_percent\": " << jsonNumber(percent(r.before, &Figures::weightedRms))
          << "},\n     \"after\": {\"weighted_2sigma_percent\": "
          << jsonNumber(percent(r.after, &Figures::weightedPeak2Sigma))
          << ", \"weighted_rms_percent\": " << jsonNumber(percent(r.after, &Figures::weightedRms))
          << "},\n     \"seconds\": " << seconds << ", \"message\": " << jsonText(r.message) << "}";
    }
    s << "\n  ]\n}\n";
    return s.str();
}

bool writeReport(const Manifest& manifest, const std::vector<JobRecord>& records, std::string& error) {
    return writeWholeFile(manifest.reportBase + ".csv", reportCsv(manifest, records), error) &&
           writeWholeFile(manifest.reportBase + ".json", reportJson(manifest, records), error);
}

}  // namespace wowfix::batch
