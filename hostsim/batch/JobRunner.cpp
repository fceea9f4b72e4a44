#include "hostsim/batch/JobRunner.h"

#include <chrono>
#include <filesystem>

#include "hostsim/SndfileSource.h"
#include "hostsim/cli/CommandLine.h"
#include "hostsim/cli/CorrectCommand.h"
#include "hostsim/cli/DetectCommand.h"
#include "hostsim/cli/HostSession.h"
#include "hostsim/curve/BandFilter.h"
#include "hostsim/curve/Centring.h"
#include "hostsim/curve/CurveRate.h"
#include "hostsim/curve/CyclicFit.h"
#include "hostsim/curve/PvcText.h"
#include "tools/meter/WowFlutterMeter.h"

namespace wowfix::batch {

namespace fs = std::filesystem;

namespace {

bool measure(const std::string& path, const ToneChoice& tone, Figures& figures, std::string& error) {
    meter::MeterSettings settings;
    settings.toneHz = tone.hz;
    meter::Measurement m;
    if (!meter::measureFile(path, settings, m, error)) return false;
    figures.weightedPeak2Sigma = m.figures.weightedPeak2Sigma;
    figures.weightedRms = m.figures.weightedRms;
    figures.unweightedPeak = m.figures.unweightedPeak;
    figures.offset = m.figures.offset;
    return true;
}

bool applyStep(const CurveStep& step, double rate, curve::SpeedCurve& c, std::string& error) {
    curve::SpeedCurve out;
    switch (step.kind) {
        case CurveStep::Kind::Band:
            if (!curve::keepBand(c, rate, step.band, out, error)) return false;
            break;
        case CurveStep::Kind::CentreMean:
            out = curve::centreMean(c);
            break;
        case CurveStep::Kind::Cyclic: {
            curve::CyclicResult fit;
            if (!curve::fitCyclic(c, rate, step.cyclic, fit, error)) return false;
            out = std::move(fit.curve);
            break;
        }
    }
    c = std::move(out);
    return true;
}

// The job's curve, written to `path`.
bool makeCurve(const Manifest& manifest, const BatchJob& job, const hostsim::SndfileSource& input,
               const std::string& plugin, const std::string& path, std::ostream& log, std::string& error) {
    curve::SpeedCurve c;
    if (job.pvc.empty()) {
        hostsim::DetectOptions detect;
        detect.input = job.input;
        detect.pvc = path;
        detect.algorithm = job.algorithm;
        detect.plugin = plugin;
        detect.quiet = true;
        for (const auto& [name, value] : job.params) {
            hostsim::ParameterSetting s;
            s.name = name;
            s.text = value;
            s.value = std::atof(value.c_str());
            detect.params.push_back(s);
        }
        if (hostsim::runDetect(detect, log, log) != hostsim::kExitSuccess) {
            error = "detection with '" + job.algorithm + "' failed (see the job's log)";
            return false;
        }
        if (!curve::readPvcFile(path, c, error)) return false;
    } else {
        if (!curve::readPvcFile(job.pvc, c, error)) return false;
        if (job.curveRate > 0.0) {
            curve::SpeedCurve scaled;
            if (!curve::rescaleCurve(c, job.curveRate, input.sampleRate(), input.frames(),
                                     curve::kLengthToleranceSeconds, scaled, error)) {
                error = job.pvc + ": " + error;
                return false;
            }
            c = std::move(scaled);
        }
    }
    for (const CurveStep& step : job.steps)
        if (!applyStep(step, input.sampleRate(), c, error)) {
            error = "curve step " + step.text + ": " + error;
            return false;
        }
    (void)manifest;
    return curve::writePvcFile(path, c, error);
}

}  // namespace

std::string curvePathFor(const BatchJob& job) { return job.output + ".pvc"; }

JobRecord runJob(const Manifest& manifest, const BatchJob& job, const std::string& plugin, std::ostream& log) {
    const auto started = std::chrono::steady_clock::now();
    JobRecord record;
    record.fingerprint = fingerprintOf(job);
    record.status = "failed";
    auto finish = [&](const std::string& message) {
        record.message = message;
        record.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        return record;
    };
    const std::string where = manifest.path + ":" + std::to_string(job.line) + ": ";
    std::error_code ec;
    if (!fs::is_regular_file(job.input, ec)) return finish(where + "input '" + job.input + "' does not exist");
    if (!job.pvc.empty() && !fs::is_regular_file(job.pvc, ec))
        return finish(where + "curve '" + job.pvc + "' does not exist");
    std::string error;
    std::unique_ptr<hostsim::SndfileSource> input = hostsim::SndfileSource::open(job.input, error);
    if (!input) return finish(error);
    const fs::path outputFolder = fs::path(job.output).parent_path();
    if (!outputFolder.empty()) fs::create_directories(outputFolder, ec);

    if (job.tone.measure) {
        Figures before;
        if (measure(job.input, job.tone, before, error)) record.before = before;
        else log << "before: " << error << "\n";
    }
    const std::string curvePath = curvePathFor(job);
    if (!makeCurve(manifest, job, *input, plugin, curvePath, log, error)) return finish(error);
    input.reset();

    hostsim::CorrectOptions correct;
    correct.input = job.input;
    correct.output = job.output;
    correct.pvc = curvePath;
    correct.plugin = plugin;
    correct.quiet = true;
    if (hostsim::runCorrect(correct, log) != hostsim::kExitSuccess)
        return finish("correction failed (see the job's log)");
    if (job.tone.measure) {
        Figures after;
        if (measure(job.output, job.tone, after, error)) record.after = after;
        else log << "after: " << error << "\n";
    }
    record.outputStamp = fileStamp(job.output);
    record.status = "ok";
    return finish("");
}

}  // namespace wowfix::batch
