#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "hostsim/batch/BatchManifest.h"

namespace wowfix::batch {
namespace {

namespace fs = std::filesystem;

std::string writeManifest(const std::string& name, const std::string& text) {
    const fs::path folder = fs::path(std::getenv("WOWFIX_TEMP")) / "manifests";
    fs::create_directories(folder);
    const std::string path = (folder / name).string();
    std::ofstream(path) << text;
    return path;
}

TEST(Manifest, ReadsDefaultsFilesAndSteps) {
    const std::string path = writeManifest("good.toml", R"(algorithm = "pilot"
tone = "auto"
output_dir = "out"
[params]
fft-length = 2048
[[curve]]
wow = "slow"
[[curve]]
cyclic = { rpm = 45, harmonics = 2, use = ["1:3", "10:12.5"] }
[[curve]]
centre = "mean"
[[file]]
input = "a.wav"
[[file]]
input = "/abs/b.flac"
output = "b-done.flac"
pvc = "b.pvc"
curve_rate = 44100
tone = "none"
)");
    Manifest m;
    std::string error;
    ASSERT_TRUE(readManifest(path, m, error)) << error;
    const std::string folder = fs::path(path).parent_path().string();
    ASSERT_EQ(m.jobs.size(), 2u);
    EXPECT_EQ(m.jobs[0].input, folder + "/a.wav");
    EXPECT_EQ(m.jobs[0].output, folder + "/out/a-steady.wav");
    EXPECT_EQ(m.jobs[0].line, 13);
    EXPECT_FALSE(m.jobs[0].tone.hz.has_value());
    EXPECT_TRUE(m.jobs[0].tone.measure);
    ASSERT_EQ(m.jobs[0].params.size(), 1u);
    EXPECT_EQ(m.jobs[0].params[0].first, "fft-length");
    ASSERT_EQ(m.jobs[0].steps.size(), 3u);
    EXPECT_DOUBLE_EQ(m.jobs[0].steps[0].band.high, 0.5);
    EXPECT_EQ(m.jobs[0].steps[1].kind, CurveStep::Kind::Cyclic);
    EXPECT_NEAR(m.jobs[0].steps[1].cyclic.periodSeconds, 60.0 / 45.0, 1e-12);
    ASSERT_EQ(m.jobs[0].steps[1].cyclic.stretches.size(), 2u);
    EXPECT_DOUBLE_EQ(m.jobs[0].steps[1].cyclic.stretches[1].to, 12.5);
    EXPECT_EQ(m.jobs[0].steps[2].kind, CurveStep::Kind::CentreMean);
    EXPECT_EQ(m.jobs[1].input, "/abs/b.flac");
    EXPECT_EQ(m.jobs[1].output, folder + "/b-done.flac");
    EXPECT_DOUBLE_EQ(m.jobs[1].curveRate, 44100.0);
    EXPECT_FALSE(m.jobs[1].tone.measure);
    EXPECT_EQ(m.reportBase, folder + "/good-report");
    // Another setting makes another output: the fingerprint text differs.
    EXPECT_NE(m.jobs[0].settingsText(), m.jobs[1].settingsText());
}

TEST(Manifest, RefusesMistakesWithFileAndLine) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"algoritm = \"pilot\"\n[[file]]\ninput = \"a.wav\"\n", "bad.toml:1: unknown key 'algoritm'"},
        {"algorithm = \"pilot\"\n[[file]]\ninput = \"a.wav\"\nouptut = \"b.wav\"\n",
         "bad.toml:4: unknown key 'ouptut' in [[file]]"},
        {"algorithm = \"pilot\"\n[[curve]]\nwow = \"slow\"\nkeep = \"1:2\"\n[[file]]\ninput = \"a.wav\"\n",
         "one of keep, wow"},
        {"algorithm = \"pilot\"\n[[curve]]\nwow = \"quick\"\n[[file]]\ninput = \"a.wav\"\n",
         "bad.toml:3: 'wow' must be slow, medium or fast"},
        {"algorithm = \"pilot\"\n[[curve]]\nkeep = \"2:1\"\n[[file]]\ninput = \"a.wav\"\n", "bad.toml:3: 'keep' must be"},
        {"algorithm = \"pilot\"\n[[curve]]\ncyclic = { harmonics = 2 }\n[[file]]\ninput = \"a.wav\"\n",
         "bad.toml:3: 'cyclic' needs one of rpm, period"},
        {"algorithm = \"pilot\"\ntone = -5\n[[file]]\ninput = \"a.wav\"\n", "bad.toml:2: 'tone' must be above 0"},
        {"algorithm = 3\n[[file]]\ninput = \"a.wav\"\n", "bad.toml:1: 'algorithm' must be a text"},
        {"[[file]]\ninput = \"a.wav\"\n", "bad.toml:1: [[file]] needs a curve"},
        {"algorithm = \"pilot\"\n[[file]]\noutput = \"a.wav\"\n", "bad.toml:2: [[file]] needs input"},
        {"algorithm = \"pilot\"\n[[file]]\ninput = \"a.wav\"\n[[file]]\ninput = \"sub/../a.wav\"\n",
         "bad.toml:5: output '"},
        {"algorithm = \"pilot\"\n[[file]]\ninput = \"a.wav\"\ncurve_rate = 44100\n",
         "bad.toml:4: 'curve_rate' belongs to a given pvc"},
        {"algorithm = \"pilot\"\n", "bad.toml:1: no [[file]] entries"},
        {"algorithm = \"pilot\"\n\n[[file]\ninput = \"a.wav\"\n", "bad.toml:3: not valid TOML"},
    };
    for (const auto& c : cases) {
        const std::string path = writeManifest("bad.toml", c.text);
        Manifest m;
        std::string error;
        EXPECT_FALSE(readManifest(path, m, error)) << c.text;
        EXPECT_NE(error.find(c.expected), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
    Manifest m;
    std::string error;
    EXPECT_FALSE(readManifest(writeManifest("x", "") + ".missing", m, error));
    EXPECT_NE(error.find("no such manifest"), std::string::npos);
}

TEST(Sharding, CoversEveryJobExactlyOnce) {
    for (std::size_t jobs : {0u, 1u, 7u, 100u})
        for (std::size_t count = 1; count <= 8; ++count) {
            std::multiset<std::size_t> seen;
            for (std::size_t shard = 1; shard <= count; ++shard) {
                const std::vector<std::size_t> mine = shardJobs(jobs, shard, count);
                seen.insert(mine.begin(), mine.end());
                // Shards differ in size by one at most.
                EXPECT_LE(mine.size(), jobs / count + 1);
                EXPECT_GE(mine.size(), jobs / count);
            }
            ASSERT_EQ(seen.size(), jobs);
            for (std::size_t i = 0; i < jobs; ++i) EXPECT_EQ(seen.count(i), 1u) << jobs << " " << count;
        }
    EXPECT_TRUE(shardJobs(5, 0, 2).empty());
    EXPECT_TRUE(shardJobs(5, 3, 2).empty());
}

}  // namespace
}  // namespace wowfix::batch
