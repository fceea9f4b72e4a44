#pragma once
// The manifest of a batch: a TOML file naming the input files and how each
// is restored, for example
//
//     algorithm = "pilot"          # detector, as for wowfix-host detect
//     tone = 3150                  # test tone for the figures: Hz, "auto" or "none"
//     output_dir = "steady"        # relative to the manifest (default: beside it)
//     suffix = "-steady"           # output = output_dir/<input stem><suffix>.<ext>
//     report = "report"            # report.csv and report.json
//     [params]                     # detector settings, as --param NAME=VALUE
//     fft-length = 2048
//     [[curve]]                    # conditioning steps, in order
//     wow = "slow"                 # or keep = "0.5:8", flutter = true, centre = "mean",
//                                  # cyclic = { rpm = 33.33, harmonics = 3, use = ["5:9"] }
//     [[file]]
//     input = "side-a.wav"
//     output = "a-done.wav"        # optional
//     pvc = "side-a.pvc"           # optional: this curve instead of detecting one
//     curve_rate = 44100           # the curve's sampling rate when not the file's
//     algorithm = "pilot"          # optional, per file
//
// Unknown keys, wrong types and bad values refuse the whole manifest with
// "FILE:LINE: reason"; files that are missing are the jobs' own failures.

#include <optional>
#include <string>
#include <vector>

#include "hostsim/curve/BandFilter.h"
#include "hostsim/curve/CyclicFit.h"

namespace wowfix::batch {

struct CurveStep {
    enum class Kind { Band, CentreMean, Cyclic } kind = Kind::Band;
    curve::Band band;
    curve::CyclicSettings cyclic;
    std::string text;  // the step as written, for the job's fingerprint
};

struct ToneChoice {
    bool measure = true;              // false: "none", no figures
    std::optional<double> hz = 3150;  // none: the strongest tone
};

struct BatchJob {
    std::size_t index = 0;  // in manifest order, from 0
    long line = 0;          // of the [[file]] entry
    std::string input;      // as resolved against the manifest's folder
    std::string output;
    std::string algorithm;
    std::vector<std::pair<std::string, std::string>> params;  // NAME, VALUE text
    std::string pvc;          // empty: detect
    double curveRate = 0.0;   // 0: the input's own
    ToneChoice tone;
    std::vector<CurveStep> steps;

    // Everything that decides the output, as one text.
    std::string settingsText() const;
};

struct Manifest {
    std::string path;
    std::string folder;      // the manifest's directory
    std::string reportBase;  // + ".csv", ".json"
    std::string stateFolder;
    std::vector<BatchJob> jobs;
};

bool readManifest(const std::string& path, Manifest& manifest, std::string& error);

// The jobs of shard `shard` (1 ... count) of `count`: every count-th job.
std::vector<std::size_t> shardJobs(std::size_t jobs, std::size_t shard, std::size_t count);

}  // namespace wowfix::batch
