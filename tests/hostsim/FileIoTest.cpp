#include "HostTestSupport.h"

#include "hostsim/FileIdentity.h"
#include "hostsim/GeneratedSource.h"
#include "tools/soundio/SoundFormats.h"
#include "tools/soundio/ReplacingFile.h"
#include "hostsim/SndfileSink.h"
#include "hostsim/SndfileSource.h"

#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>

using namespace wowfix::hostsim;
namespace soundio = wowfix::soundio;
using hostsim_test::TempDir;

namespace {

float ramp(long long frame, int channel) { return static_cast<float>(frame) * 1e-4f + static_cast<float>(channel); }

}  // namespace

TEST(SndfileSourceReading, BlocksAtAnyPositionMatchTheFile) {
    TempDir dir;
    const std::string path = dir.file("ramp.wav");
    hostsim_test::writeAudio(path, 2, 44100, 10000, ramp);
    std::string error;
    auto source = SndfileSource::open(path, error);
    ASSERT_NE(source, nullptr) << error;
    EXPECT_EQ(source->frames(), 10000);
    EXPECT_EQ(source->channels(), 2);
    EXPECT_EQ(source->sampleRate(), 44100.0);

    std::vector<float> left(300);
    std::vector<float> right(300);
    float* channels[] = {left.data(), right.data()};
    // Forwards, backwards and the last frames: each read lands where asked.
    for (long long position : {0LL, 300LL, 9700LL, 1234LL, 5LL}) {
        ASSERT_TRUE(source->read(position, 300, channels)) << source->error();
        for (int i = 0; i < 300; ++i) {
            ASSERT_FLOAT_EQ(left[static_cast<std::size_t>(i)], ramp(position + i, 0));
            ASSERT_FLOAT_EQ(right[static_cast<std::size_t>(i)], ramp(position + i, 1));
        }
    }
}

TEST(SndfileSourceReading, RefusesReadsOutsideAndFilesThatAreNotAudio) {
    TempDir dir;
    const std::string path = dir.file("short.wav");
    hostsim_test::writeAudio(path, 1, 8000, 100, ramp);
    std::string error;
    auto source = SndfileSource::open(path, error);
    ASSERT_NE(source, nullptr);
    std::vector<float> buffer(200);
    float* channels[] = {buffer.data()};
    EXPECT_FALSE(source->read(50, 51, channels));
    EXPECT_NE(source->error().find("outside"), std::string::npos);
    EXPECT_FALSE(source->read(-1, 1, channels));
    EXPECT_TRUE(source->read(50, 50, channels)) << "a failed read must not spoil the next one";
    EXPECT_FLOAT_EQ(buffer[0], ramp(50, 0));

    hostsim_test::writeText(dir.file("text.wav"), "not a sound file");
    EXPECT_EQ(SndfileSource::open(dir.file("text.wav"), error), nullptr);
    EXPECT_NE(error.find("text.wav"), std::string::npos);
    EXPECT_EQ(SndfileSource::open(dir.file("missing.wav"), error), nullptr);
    EXPECT_NE(error.find("cannot open '"), std::string::npos);
}

TEST(GeneratedSignal, BlocksFollowTheExactToneFarIntoTheSignal) {
    GeneratedSource source(200'000'000, 44100.0, {440.0, 1000.0}, 0.5);
    std::vector<float> a(4096);
    std::vector<float> b(4096);
    float* channels[] = {a.data(), b.data()};
    const std::int64_t position = 158'760'000;  // one hour in
    ASSERT_TRUE(source.read(position, 4096, channels));
    for (int i = 0; i < 4096; i += 97) {
        EXPECT_NEAR(a[static_cast<std::size_t>(i)], source.sampleAt(0, position + i), 1e-5);
        EXPECT_NEAR(b[static_cast<std::size_t>(i)], source.sampleAt(1, position + i), 1e-5);
    }
    EXPECT_FALSE(source.read(source.frames() - 10, 11, channels));
}

TEST(ReplacingFileWriting, CommitPutsTheCompleteFileInPlace) {
    TempDir dir;
    const std::string target = dir.file("out.wav");
    std::string error;
    auto partial = soundio::ReplacingFile::create(target, error);
    ASSERT_NE(partial, nullptr) << error;
    EXPECT_EQ(partial->tempPath().rfind(dir.path() + "/.out.wav.partial-", 0), 0u) << partial->tempPath();
    auto sink = SndfileSink::open(partial->takeDescriptor(), target, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 48000, error);
    ASSERT_NE(sink, nullptr) << error;
    std::vector<float> left(1000);
    std::vector<float> right(1000);
    for (int i = 0; i < 1000; ++i) {
        left[static_cast<std::size_t>(i)] = ramp(i, 0);
        right[static_cast<std::size_t>(i)] = ramp(i, 1);
    }
    const float* channels[] = {left.data(), right.data()};
    ASSERT_TRUE(sink->write(channels, 600));
    ASSERT_TRUE(sink->write(channels, 400));
    EXPECT_FALSE(hostsim_test::exists(target)) << "nothing at the final name before the commit";
    ASSERT_TRUE(sink->finish());
    ASSERT_TRUE(partial->commit(error)) << error;

    const hostsim_test::Audio audio = hostsim_test::readAudio(target);
    ASSERT_EQ(audio.frames, 1000);
    EXPECT_EQ(audio.channels, 2);
    EXPECT_EQ(audio.sampleRate, 48000);
    EXPECT_EQ(audio.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    EXPECT_FLOAT_EQ(audio.at(700, 0), ramp(100, 0));
    EXPECT_FLOAT_EQ(audio.at(999, 1), ramp(399, 1));
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"out.wav"});
    struct stat info;
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_NE(info.st_mode & S_IRUSR, 0u);
    EXPECT_NE(info.st_mode & S_IWUSR, 0u);
}

TEST(ReplacingFileWriting, AnAbandonedFileLeavesTheOldOneAndNoLitter) {
    TempDir dir;
    const std::string target = dir.file("out.wav");
    hostsim_test::writeText(target, "previous contents");
    {
        std::string error;
        auto partial = soundio::ReplacingFile::create(target, error);
        ASSERT_NE(partial, nullptr);
        auto sink =
            SndfileSink::open(partial->takeDescriptor(), target, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, 8000, error);
        ASSERT_NE(sink, nullptr);
        std::vector<float> data(100, 0.5f);
        const float* channels[] = {data.data()};
        ASSERT_TRUE(sink->write(channels, 100));
    }
    EXPECT_EQ(hostsim_test::readBytes(target), "previous contents");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"out.wav"});
}

TEST(ReplacingFileWriting, FailsClearlyWhereNothingCanBeWritten) {
    TempDir dir;
    std::string error;
    EXPECT_EQ(soundio::ReplacingFile::create(dir.file("no/such/dir/out.wav"), error), nullptr);
    EXPECT_NE(error.find("cannot write"), std::string::npos);
    // A directory at the final name: the rename fails and the temporary goes.
    ASSERT_EQ(mkdir(dir.file("taken").c_str(), 0755), 0);
    ASSERT_EQ(mkdir(dir.file("taken/inside").c_str(), 0755), 0);
    {
        auto partial = soundio::ReplacingFile::create(dir.file("taken"), error);
        ASSERT_NE(partial, nullptr);
        EXPECT_FALSE(partial->commit(error));
    }
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"taken"});
}

TEST(FileIdentityCheck, SeesOneFileThroughEverySpelling) {
    TempDir dir;
    const std::string original = dir.file("a.wav");
    hostsim_test::writeText(original, "x");
    hostsim_test::writeText(dir.file("b.wav"), "x");
    ASSERT_EQ(link(original.c_str(), dir.file("hard.wav").c_str()), 0);
    ASSERT_EQ(symlink(original.c_str(), dir.file("soft.wav").c_str()), 0);
    EXPECT_TRUE(sameFile(original, original));
    EXPECT_TRUE(sameFile(original, dir.path() + "/./a.wav"));
    EXPECT_TRUE(sameFile(original, dir.file("hard.wav")));
    EXPECT_TRUE(sameFile(original, dir.file("soft.wav")));
    EXPECT_FALSE(sameFile(original, dir.file("b.wav")));
    EXPECT_FALSE(sameFile(original, dir.file("missing.wav")));
}

TEST(OutputFormats, NamesAndEncodings) {
    EXPECT_EQ(soundio::containerByName("wav"), SF_FORMAT_WAV);
    EXPECT_EQ(soundio::containerByName("WAV"), SF_FORMAT_WAV);
    EXPECT_EQ(soundio::containerByName("aiff"), SF_FORMAT_AIFF);
    EXPECT_EQ(soundio::containerByName("aif"), SF_FORMAT_AIFF);
    EXPECT_EQ(soundio::containerByName("flac"), SF_FORMAT_FLAC);
    EXPECT_EQ(soundio::containerByName("mp4"), 0);
    EXPECT_EQ(soundio::containerByName("raw"), 0) << "headerless output cannot be read back";
    EXPECT_EQ(soundio::containerName(SF_FORMAT_WAV | SF_FORMAT_PCM_16), "wav");
    EXPECT_EQ(soundio::containerName(SF_FORMAT_WAVEX | SF_FORMAT_FLOAT), "wavex") << "shares wav's extension";
    const std::vector<std::string> names = soundio::containerNames();
    for (const std::string& name : names) EXPECT_NE(soundio::containerByName(name), 0) << name;
    for (std::size_t i = 0; i < names.size(); ++i)
        for (std::size_t j = i + 1; j < names.size(); ++j) EXPECT_NE(names[i], names[j]);

    EXPECT_EQ(soundio::chooseEncoding(SF_FORMAT_WAV, 2, 44100), SF_FORMAT_FLOAT);
    EXPECT_EQ(soundio::chooseEncoding(SF_FORMAT_AIFF, 1, 96000), SF_FORMAT_FLOAT);
    EXPECT_EQ(soundio::chooseEncoding(SF_FORMAT_FLAC, 2, 44100), SF_FORMAT_PCM_24) << "FLAC holds integers only";
}

TEST(GeneratedSignal, AFrameReadsTheSameHoweverTheReadsAreCut) {
    GeneratedSource source(100000, 48000.0, {997.0}, 0.8);
    std::vector<float> whole(5000);
    float* wholeChannels[] = {whole.data()};
    ASSERT_TRUE(source.read(1500, 5000, wholeChannels));
    std::vector<float> pieces(5000);
    for (int start = 0; start < 5000;) {
        const int count = std::min(5000 - start, 1 + (start * 7) % 613);
        float* channels[] = {pieces.data() + start};
        ASSERT_TRUE(source.read(1500 + start, count, channels));
        start += count;
    }
    EXPECT_EQ(pieces, whole);
}
