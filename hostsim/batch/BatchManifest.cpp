#include "hostsim/batch/BatchManifest.h"

#include <filesystem>
#include <sstream>

#include <toml.hpp>

#include "hostsim/cli/Arguments.h"

namespace wowfix::batch {

namespace fs = std::filesystem;

namespace {

// A refusal at a place in the manifest.
struct ManifestError {
    std::string message;
};

class Reader {
public:
    explicit Reader(std::string name) : name_(std::move(name)) {}

    [[noreturn]] void fail(const toml::value& at, const std::string& why) const {
        throw ManifestError{name_ + ":" + std::to_string(at.location().line()) + ": " + why};
    }

    void onlyKeys(const toml::value& table, std::initializer_list<const char*> keys, const std::string& where) const {
        for (const auto& [key, value] : table.as_table()) {
            bool known = false;
            for (const char* k : keys) known = known || key == k;
            if (!known) fail(value, "unknown key '" + key + "'" + where);
        }
    }

    std::string text(const toml::value& v, const std::string& key) const {
        if (!v.is_string()) fail(v, "'" + key + "' must be a text in quotes");
        const std::string s = v.as_string().str;
        if (s.empty()) fail(v, "'" + key + "' is empty");
        return s;
    }

    double number(const toml::value& v, const std::string& key) const {
        if (v.is_integer()) return static_cast<double>(v.as_integer());
        if (v.is_floating()) return v.as_floating();
        fail(v, "'" + key + "' must be a number");
    }

    ToneChoice tone(const toml::value& v) const {
        ToneChoice t;
        if (v.is_string()) {
            const std::string s = v.as_string().str;
            if (s == "none") t.measure = false;
            else if (s == "auto") t.hz.reset();
            else fail(v, "'tone' must be a frequency in Hz, \"auto\" or \"none\"");
            return t;
        }
        const double hz = number(v, "tone");
        if (!(hz > 0.0)) fail(v, "'tone' must be above 0 Hz");
        t.hz = hz;
        return t;
    }

    CurveStep step(const toml::value& v) const {
        if (!v.is_table()) fail(v, "each [[curve]] must be a table");
        onlyKeys(v, {"keep", "wow", "flutter", "centre", "cyclic"}, " in [[curve]]");
        if (v.as_table().size() != 1) fail(v, "each [[curve]] holds one of keep, wow, flutter, centre, cyclic");
        const auto& [key, value] = *v.as_table().begin();
        CurveStep s;
        std::ostringstream written;
        written << key << "=" << toml::format(value, 0);
        s.text = written.str();
        std::string why;
        if (key == "keep") {
            if (!hostsim::parseNumberRange(this->text(value, key), s.band.low, s.band.high, why) || s.band.low < 0.0)
                fail(value, "'keep' must be \"LO:HI\" in Hz, 0 <= LO < HI");
        } else if (key == "wow") {
            if (!curve::wowPreset(this->text(value, key), s.band)) fail(value, "'wow' must be slow, medium or fast");
        } else if (key == "flutter") {
            if (!value.is_boolean() || !value.as_boolean()) fail(value, "'flutter' must be true");
            s.band = curve::flutterBand();
        } else if (key == "centre") {
            if (this->text(value, key) != "mean") fail(value, "'centre' must be \"mean\"");
            s.kind = CurveStep::Kind::CentreMean;
        } else {
            s.kind = CurveStep::Kind::Cyclic;
            if (!value.is_table()) fail(value, "'cyclic' must be a table { rpm = ..., harmonics = ..., use = [...] }");
            onlyKeys(value, {"rpm", "period", "harmonics", "use"}, " in cyclic");
            const auto& t = value.as_table();
            if (t.count("rpm") == t.count("period")) fail(value, "'cyclic' needs one of rpm, period");
            const bool byRpm = t.count("rpm") != 0;
            const toml::value& rate = t.at(byRpm ? "rpm" : "period");
            const double x = number(rate, byRpm ? "rpm" : "period");
            if (!(x > 0.0)) fail(rate, "must be above 0");
            s.cyclic.periodSeconds = byRpm ? curve::rotationPeriod(x) : x;
            if (t.count("harmonics")) {
                const toml::value& h = t.at("harmonics");
                if (!h.is_integer() || h.as_integer() < 1 || h.as_integer() > 20) fail(h, "'harmonics' must be 1 ... 20");
                s.cyclic.harmonics = static_cast<int>(h.as_integer());
            }
            if (t.count("use")) {
                const toml::value& use = t.at("use");
                if (!use.is_array()) fail(use, "'use' must be a list of \"FROM:TO\" seconds");
                for (const toml::value& item : use.as_array()) {
                    curve::Stretch st;
                    if (!hostsim::parseNumberRange(this->text(item, "use"), st.from, st.to, why) || st.from < 0.0)
                        fail(item, "'use' must be a list of \"FROM:TO\" seconds");
                    s.cyclic.stretches.push_back(st);
                }
            }
        }
        return s;
    }

private:
    std::string name_;
};

std::string resolved(const std::string& folder, const std::string& path) {
    const fs::path p(path);
    return p.is_absolute() ? path : (fs::path(folder) / p).lexically_normal().string();
}

std::string outputFor(const std::string& input, const std::string& folder, const std::string& suffix) {
    const fs::path in(input);
    return (fs::path(folder) / (in.stem().string() + suffix + in.extension().string())).lexically_normal().string();
}

}  // namespace

std::string BatchJob::settingsText() const {
    std::ostringstream s;
    s << "input=" << input << "\noutput=" << output << "\nalgorithm=" << algorithm << "\npvc=" << pvc
      << "\ncurve_rate=" << curveRate << "\ntone=" << tone.measure << "," << (tone.hz ? *tone.hz : -1.0);
    for (const auto& [name, value] : params) s << "\nparam " << name << "=" << value;
    for (const CurveStep& step : steps) s << "\nstep " << step.text;
    return s.str();
}

bool readManifest(const std::string& path, Manifest& manifest, std::string& error) {
    manifest = Manifest{};
    manifest.path = path;
    const fs::path p(path);
    manifest.folder = p.has_parent_path() ? p.parent_path().string() : ".";
    std::error_code ec;
    if (!fs::is_regular_file(p, ec)) {
        error = path + ": no such manifest";
        return false;
    }
    const Reader r(path);
    try {
        const toml::value root = toml::parse(path);
        r.onlyKeys(root, {"algorithm", "tone", "output_dir", "suffix", "report", "params", "curve", "file"}, "");
        const auto& top = root.as_table();
        std::string algorithm;
        if (top.count("algorithm")) algorithm = r.text(top.at("algorithm"), "algorithm");
        ToneChoice tone;
        if (top.count("tone")) tone = r.tone(top.at("tone"));
        std::string outputFolder = manifest.folder;
        if (top.count("output_dir")) outputFolder = resolved(manifest.folder, r.text(top.at("output_dir"), "output_dir"));
        std::string suffix = "-steady";
        if (top.count("suffix")) {
            if (!top.at("suffix").is_string()) r.fail(top.at("suffix"), "'suffix' must be a text in quotes");
            suffix = top.at("suffix").as_string().str;
        }
        manifest.reportBase = resolved(manifest.folder, top.count("report") ? r.text(top.at("report"), "report")
                                                                            : p.stem().string() + "-report");
        manifest.stateFolder = resolved(manifest.folder, "." + p.filename().string() + ".state");
        std::vector<std::pair<std::string, std::string>> params;
        if (top.count("params")) {
            const toml::value& t = top.at("params");
            if (!t.is_table()) r.fail(t, "'params' must be a table [params]");
            for (const auto& [name, value] : t.as_table()) {
                std::ostringstream number;
                number.precision(17);
                number << r.number(value, name);
                params.emplace_back(name, number.str());
            }
        }
        std::vector<CurveStep> steps;
        if (top.count("curve")) {
            const toml::value& list = top.at("curve");
            if (!list.is_array()) r.fail(list, "'curve' must be a list of [[curve]] tables");
            for (const toml::value& item : list.as_array()) steps.push_back(r.step(item));
        }
        if (!top.count("file")) r.fail(root, "no [[file]] entries");
        const toml::value& files = top.at("file");
        if (!files.is_array()) r.fail(files, "'file' must be a list of [[file]] tables");
        for (const toml::value& f : files.as_array()) {
            if (!f.is_table()) r.fail(f, "each [[file]] must be a table");
            r.onlyKeys(f, {"input", "output", "pvc", "curve_rate", "algorithm", "tone"}, " in [[file]]");
            const auto& t = f.as_table();
            BatchJob job;
            job.index = manifest.jobs.size();
            job.line = static_cast<long>(f.location().line());
            if (!t.count("input")) r.fail(f, "[[file]] needs input = \"FILE\"");
            job.line = static_cast<long>(t.at("input").location().line());
            job.input = resolved(manifest.folder, r.text(t.at("input"), "input"));
            job.output = t.count("output") ? resolved(manifest.folder, r.text(t.at("output"), "output"))
                                           : outputFor(job.input, outputFolder, suffix);
            job.algorithm = t.count("algorithm") ? r.text(t.at("algorithm"), "algorithm") : algorithm;
            if (t.count("pvc")) job.pvc = resolved(manifest.folder, r.text(t.at("pvc"), "pvc"));
            if (t.count("curve_rate")) {
                job.curveRate = r.number(t.at("curve_rate"), "curve_rate");
                if (!(job.curveRate > 0.0)) r.fail(t.at("curve_rate"), "'curve_rate' must be above 0 Hz");
                if (job.pvc.empty()) r.fail(t.at("curve_rate"), "'curve_rate' belongs to a given pvc");
            }
            if (job.pvc.empty() && job.algorithm.empty())
                r.fail(f, "[[file]] needs a curve: pvc = \"FILE\", or algorithm = \"NAME\" here or at the top");
            job.tone = t.count("tone") ? r.tone(t.at("tone")) : tone;
            job.params = params;
            job.steps = steps;
            for (const BatchJob& other : manifest.jobs)
                if (other.output == job.output) r.fail(t.at("input"), "output '" + job.output + "' is named twice");
            if (job.output == job.input) r.fail(t.at("input"), "the output would overwrite the input");
            manifest.jobs.push_back(std::move(job));
        }
    } catch (const ManifestError& e) {
        error = e.message;
        return false;
    } catch (const toml::syntax_error& e) {
        error = path + ":" + std::to_string(e.location().line()) + ": not valid TOML";
        return false;
    } catch (const std::exception& e) {
        error = path + ": " + std::string(e.what()).substr(0, std::string(e.what()).find('\n'));
        return false;
    }
    return true;
}

std::vector<std::size_t> shardJobs(std::size_t jobs, std::size_t shard, std::size_t count) {
    std::vector<std::size_t> mine;
    if (count == 0 || shard < 1 || shard > count) return mine;
    for (std::size_t i = shard - 1; i < jobs; i += count) mine.push_back(i);
    return mine;
}

}  // namespace wowfix::batch
