#include <gtest/gtest.h>

#include <signal.h>
#include <sndfile.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "hostsim/batch/BatchCommand.h"
#include "hostsim/batch/BatchManifest.h"
#include "hostsim/batch/JobRecord.h"
#include "tools/gen/GenerateFiles.h"

namespace wowfix::batch {
namespace {

namespace fs = std::filesystem;

constexpr int kTakes = 4;

// A folder with kTakes short damaged takes (test tone, true curve) and a
// manifest that corrects them along their true curves, plus one missing file.
class BatchRun : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::path(std::getenv("WOWFIX_TEMP")) /
                  ("batch-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        std::ostringstream manifest;
        manifest << "tone = 3150\noutput_dir = \"steady\"\n[[curve]]\ncentre = \"mean\"\n";
        for (int n = 1; n <= kTakes; ++n) {
            gen::GeneratorSettings s;
            s.channels = 1;
            s.seconds = 3.0;
            s.programme.kind = gen::ProgrammeKind::Silence;
            s.testToneLevel = -12.0;
            s.wow = {0.1 * n, 0.55};
            s.seed = static_cast<std::uint64_t>(n);
            const std::string name = "take" + std::to_string(n);
            gen::GenerationSummary summary;
            std::string error;
            ASSERT_TRUE(gen::generateFiles(s, {path(name + ".wav"), path(name + ".pvc"), ""}, summary, error)) << error;
            manifest << "[[file]]\ninput = \"" << name << ".wav\"\npvc = \"" << name << ".pvc\"\n";
            if (n == 2) manifest << "[[file]]\ninput = \"missing.wav\"\npvc = \"take1.pvc\"\n";
        }
        std::ofstream(path("archive.toml")) << manifest.str();
    }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    int batch(std::vector<std::string> args, std::string* output = nullptr) {
        args.insert(args.begin(), path("archive.toml"));
        args.push_back("--quiet");
        if (const char* plugin = std::getenv("WOWFIX_PLUGIN")) args.push_back(std::string("--plugin=") + plugin);
        std::ostringstream out, err;
        const int status = runBatchCommand(args, out, err);
        if (output) *output = out.str() + err.str();
        return status;
    }

    // Frames of a sound file; −1 when it does not open.
    static long long framesOf(const std::string& file) {
        SF_INFO info{};
        SNDFILE* f = sf_open(file.c_str(), SFM_READ, &info);
        if (f == nullptr) return -1;
        sf_close(f);
        return info.frames;
    }

    std::vector<std::string> partialFiles() const {
        std::vector<std::string> found;
        for (const auto& e : fs::recursive_directory_iterator(folder_))
            if (e.path().filename().string().find(".partial-") != std::string::npos) found.push_back(e.path());
        return found;
    }

    std::string report() const {
        std::ifstream in(path("archive-report.csv"));
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path folder_;
};

TEST_F(BatchRun, GoesOnAfterAFailureReportsFiguresAndSkipsWhatIsUpToDate) {
    std::string output;
    EXPECT_EQ(batch({"--jobs", "2"}, &output), 1) << output;
    EXPECT_NE(output.find("archive.toml:12: input '"), std::string::npos) << output;
    const std::string csv = report();
    EXPECT_NE(csv.find("missing.wav"), std::string::npos);
    Manifest m;
    std::string error;
    ASSERT_TRUE(readManifest(path("archive.toml"), m, error)) << error;
    for (const BatchJob& job : m.jobs) {
        JobRecord r;
        ASSERT_TRUE(readRecord(recordPath(m, job), r));
        if (job.input.find("missing") != std::string::npos) {
            EXPECT_EQ(r.status, "failed");
            continue;
        }
        ASSERT_EQ(r.status, "ok") << r.message;
        EXPECT_GT(framesOf(job.output), 0);
        ASSERT_TRUE(r.before && r.after);
        // Corrected along the true curve, the wow is mostly gone.
        EXPECT_LT(r.after->weightedPeak2Sigma, 0.3 * r.before->weightedPeak2Sigma) << job.input;
    }
    // The JSON report lists the same files.
    std::ifstream json(path("archive-report.json"));
    const std::string text((std::istreambuf_iterator<char>(json)), {});
    EXPECT_NE(text.find("\"status\": \"failed\""), std::string::npos);
    EXPECT_NE(text.find("take4.wav"), std::string::npos);

    // A rerun skips the finished files; touching a setting or an input reruns that file only.
    const auto before = fs::last_write_time(m.jobs[0].output);
    EXPECT_EQ(batch({}), 1);
    EXPECT_EQ(fs::last_write_time(m.jobs[0].output), before);
    fs::remove(m.jobs[3].output);
    std::string second;
    EXPECT_EQ(batch({"--jobs=3"}, &second), 1);
    EXPECT_GT(framesOf(m.jobs[3].output), 0);
    EXPECT_EQ(fs::last_write_time(m.jobs[0].output), before);
    EXPECT_TRUE(partialFiles().empty());
}

TEST_F(BatchRun, ShardsTogetherRunEveryFileOnce) {
    std::string output;
    batch({"--shard", "1/2"}, &output);
    Manifest m;
    std::string error;
    ASSERT_TRUE(readManifest(path("archive.toml"), m, error));
    for (const BatchJob& job : m.jobs) {
        JobRecord r;
        EXPECT_EQ(readRecord(recordPath(m, job), r), job.index % 2 == 0) << job.input;
    }
    EXPECT_NE(report().find(",pending,"), std::string::npos);
    batch({"--shard", "2/2"});
    for (const BatchJob& job : m.jobs) {
        JobRecord r;
        EXPECT_TRUE(readRecord(recordPath(m, job), r)) << job.input;
    }
    EXPECT_EQ(report().find(",pending,"), std::string::npos);
    std::string bad;
    EXPECT_EQ(batch({"--shard", "3/2"}, &bad), 2);
    EXPECT_NE(bad.find("bad --shard '3/2'"), std::string::npos);
}

TEST_F(BatchRun, ResumesAfterAKilledRunWithoutHalfWrittenOutputs) {
    Manifest m;
    std::string error;
    ASSERT_TRUE(readManifest(path("archive.toml"), m, error));
    const std::string firstRecord = recordPath(m, m.jobs[0]);
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);  // its jobs too, so that one kill ends them all
        _exit(batch({"--jobs", "1"}));
    }
    ASSERT_GT(pid, 0);
    setpgid(pid, pid);
    // Kill it once the first file is done, while later ones are under way.
    for (int i = 0; i < 6000 && !fs::exists(firstRecord); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    kill(-pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(fs::exists(firstRecord));

    // Whatever exists under an output's name is a whole file.
    for (const BatchJob& job : m.jobs)
        if (fs::exists(job.output)) {
            EXPECT_NEAR(static_cast<double>(framesOf(job.output)), 3.0 * 44100.0, 0.02 * 3 * 44100);
        }

    std::string output;
    EXPECT_EQ(batch({"--jobs", "2"}, &output), 1) << output;  // the missing file still fails
    for (const BatchJob& job : m.jobs) {
        JobRecord r;
        ASSERT_TRUE(readRecord(recordPath(m, job), r));
        if (job.input.find("missing") == std::string::npos) {
            EXPECT_EQ(r.status, "ok") << job.input << r.message;
        }
    }
    EXPECT_TRUE(partialFiles().empty());
}

}  // namespace
}  // namespace wowfix::batch
