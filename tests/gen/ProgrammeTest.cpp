// The programmes: an input file played at the damaged speed through
// libsamplerate, channel mapping, noise, music, and the shape of the output
// at various rates, channel counts, containers and seeds.

#include <gtest/gtest.h>

#include <filesystem>

#include <sndfile.h>

#include <cmath>
#include <complex>

#include "GenTestSupport.h"
#include "tools/meter/Fft.h"

namespace wowfix::gentest {
namespace {

// A stereo sine file: 1000 Hz left, 2500 Hz right, at 48 kHz.
Audio sineFile(double seconds) {
    Audio a;
    a.sampleRate = 48000;
    a.channels = 2;
    const std::int64_t frames = static_cast<std::int64_t>(seconds * 48000);
    for (std::int64_t n = 0; n < frames; ++n) {
        a.samples.push_back(static_cast<float>(0.5 * std::sin(2.0 * M_PI * 1000.0 * n / 48000.0)));
        a.samples.push_back(static_cast<float>(0.25 * std::sin(2.0 * M_PI * 2500.0 * n / 48000.0)));
    }
    return a;
}

double rmsOf(const Audio& a, int channel) {
    double sum = 0.0;
    for (std::int64_t n = 0; n < a.frames(); ++n) sum += a.at(n, channel) * a.at(n, channel);
    return std::sqrt(sum / a.frames());
}

TEST(FileProgramme, IsPlayedAtTheDamagedSpeedWithItsOwnRateConverted) {
    ScratchFolder folder;
    writeAudio(folder.file("in.wav"), sineFile(4.0));
    ASSERT_EQ(runGen({folder.file("out.wav"), "--pvc", folder.file("out.pvc"), "--programme",
                      "file:" + folder.file("in.wav"), "--wow", "0.5@1", "--flutter", "0.1@7"}),
              0);
    const Audio out = readAudio(folder.file("out.wav"));
    ASSERT_EQ(out.sampleRate, 44100);
    ASSERT_EQ(out.channels, 2);
    // As long as the file surely lasts: 4 s less the last input frame, over 1.006.
    EXPECT_EQ(out.frames(), std::llround((4.0 - 1.0 / 48000) / 1.006 * 44100));
    const std::vector<double> tau = integratedWarpedTime({0.5, 1.0}, {0.1, 7.0}, 44100.0, out.frames());
    double worst = 0.0;
    for (std::int64_t n = 4410; n < out.frames() - 4410; ++n) {
        worst = std::max(worst, std::fabs(out.at(n, 0) - 0.5 * std::sin(2.0 * M_PI * 1000.0 * tau[n])));
        worst = std::max(worst, std::fabs(out.at(n, 1) - 0.25 * std::sin(2.0 * M_PI * 2500.0 * tau[n])));
    }
    EXPECT_LT(worst, 0.5 * 3e-5);  // below −90 dB of the louder tone
}

TEST(FileProgramme, ChannelsFollowTheOutput) {
    ScratchFolder folder;
    writeAudio(folder.file("in.wav"), sineFile(1.0));
    ASSERT_EQ(runGen({folder.file("mono.wav"), "--pvc", folder.file("m.pvc"), "--channels", "1", "--programme",
                      "file:" + folder.file("in.wav")}),
              0);
    const Audio mono = readAudio(folder.file("mono.wav"));
    ASSERT_EQ(mono.channels, 1);
    // The mean of both: 0.25·sin(1 kHz) + 0.125·sin(2.5 kHz).
    const double expected = std::sqrt(0.25 * 0.25 / 2 + 0.125 * 0.125 / 2);
    EXPECT_NEAR(rmsOf(mono, 0), expected, 0.002);

    Audio single = sineFile(1.0);
    Audio left{48000, 1, 0, {}};
    for (std::int64_t n = 0; n < single.frames(); ++n) left.samples.push_back(single.at(n, 0));
    writeAudio(folder.file("left.wav"), left);
    ASSERT_EQ(runGen({folder.file("a.wav"), "--pvc", folder.file("a.pvc"), "--programme",
                      "file:" + folder.file("left.wav")}),
              0);
    EXPECT_EQ(readAudio(folder.file("a.wav")).channels, 1);  // a mono file stays mono by default
    ASSERT_EQ(runGen({folder.file("b.wav"), "--pvc", folder.file("b.pvc"), "--channels", "2", "--programme",
                      "file:" + folder.file("left.wav")}),
              0);
    const Audio both = readAudio(folder.file("b.wav"));
    ASSERT_EQ(both.channels, 2);
    for (std::int64_t n = 0; n < both.frames(); ++n) ASSERT_EQ(both.at(n, 0), both.at(n, 1));
}

TEST(FileProgramme, RefusesADurationTheFileDoesNotCover) {
    ScratchFolder folder;
    writeAudio(folder.file("in.wav"), sineFile(1.0));
    std::string errors;
    EXPECT_EQ(runGen({folder.file("out.wav"), "--pvc", folder.file("out.pvc"), "--seconds", "1", "--wow", "1@0.25",
                      "--programme", "file:" + folder.file("in.wav")},
                     &errors),
              1);
    EXPECT_NE(errors.find("shorten --seconds"), std::string::npos) << errors;
    EXPECT_EQ(folder.names().size(), 1u);
}

TEST(NoiseProgramme, WhiteNoiseHasItsLevelAndIndependentChannels) {
    ScratchFolder folder;
    ASSERT_EQ(runGen({folder.file("n.wav"), "--pvc", folder.file("n.pvc"), "--seconds", "2", "--programme",
                      "noise:white@-20", "--wow", "0.3@1"}),
              0);
    const Audio noise = readAudio(folder.file("n.wav"));
    // libsamplerate passes 97 % of the band: white noise loses about 0.15 dB.
    for (int c = 0; c < 2; ++c) EXPECT_NEAR(20.0 * std::log10(rmsOf(noise, c)), -20.15, 0.15);
    double cross = 0.0;
    for (std::int64_t n = 0; n < noise.frames(); ++n) cross += noise.at(n, 0) * noise.at(n, 1);
    EXPECT_LT(std::fabs(cross / noise.frames()) / (rmsOf(noise, 0) * rmsOf(noise, 1)), 0.02);
}

TEST(NoiseProgramme, PinkNoiseHasEqualPowerPerOctave) {
    ScratchFolder folder;
    ASSERT_EQ(runGen({folder.file("p.wav"), "--pvc", folder.file("p.pvc"), "--seconds", "12", "--channels", "1",
                      "--programme", "noise:pink"}),
                     0);
    const Audio pink = readAudio(folder.file("p.wav"));
    EXPECT_NEAR(20.0 * std::log10(rmsOf(pink, 0)), -20.0, 0.5);
    // Averaged Hann-windowed power spectra of 8192 points.
    const std::size_t size = 8192;
    std::vector<double> power(size / 2, 0.0);
    for (std::int64_t start = 0; start + static_cast<std::int64_t>(size) <= pink.frames(); start += size / 2) {
        std::vector<std::complex<double>> block(size);
        for (std::size_t i = 0; i < size; ++i)
            block[i] = pink.at(start + i, 0) * (0.5 - 0.5 * std::cos(2.0 * M_PI * i / size));
        meter::fft(block);
        for (std::size_t k = 0; k < size / 2; ++k) power[k] += std::norm(block[k]);
    }
    std::vector<double> octaves;
    for (double low = 62.5; low < 16000.0; low *= 2.0) {
        double sum = 0.0;
        for (std::size_t k = 0; k < size / 2; ++k) {
            const double hz = k * 44100.0 / size;
            if (hz >= low && hz < 2.0 * low) sum += power[k];
        }
        octaves.push_back(10.0 * std::log10(sum));
    }
    for (std::size_t i = 1; i < octaves.size(); ++i)
        EXPECT_NEAR(octaves[i], octaves[0], 1.0) << "octave from " << 62.5 * std::pow(2.0, i) << " Hz";
}

TEST(MusicProgramme, StaysUnderItsLevelAndSpreadsAcrossTheChannels) {
    ScratchFolder folder;
    ASSERT_EQ(runGen({folder.file("m.wav"), "--pvc", folder.file("m.pvc"), "--seconds", "8", "--programme",
                      "music@-6", "--wow", "0.5@0.5"}),
              0);
    const Audio music = readAudio(folder.file("m.wav"));
    float peak = 0.0f;
    for (float v : music.samples) peak = std::max(peak, std::fabs(v));
    EXPECT_LE(peak, std::pow(10.0, -6.0 / 20.0));
    for (int c = 0; c < 2; ++c) EXPECT_GT(rmsOf(music, c), std::pow(10.0, -40.0 / 20.0));
    double difference = 0.0;
    for (std::int64_t n = 0; n < music.frames(); ++n) difference += std::fabs(music.at(n, 0) - music.at(n, 1));
    EXPECT_GT(difference / music.frames(), 1e-3);
}

TEST(MusicProgramme, VibratoAndIntonationChangeTheMusicButNotTheTrueCurve) {
    ScratchFolder folder;
    const std::vector<std::string> common = {"--seconds", "3", "--programme", "music", "--wow", "0.3@0.5"};
    auto with = [&](const std::string& name, std::vector<std::string> extra) {
        std::vector<std::string> args = {folder.file(name + ".wav"), "--pvc", folder.file(name + ".pvc")};
        args.insert(args.end(), common.begin(), common.end());
        args.insert(args.end(), extra.begin(), extra.end());
        return runGen(args);
    };
    ASSERT_EQ(with("plain", {}), 0);
    ASSERT_EQ(with("sung", {"--vibrato", "0.5@5.5"}), 0);
    ASSERT_EQ(with("loose", {"--intonation", "5"}), 0);
    ASSERT_EQ(with("tight", {"--intonation", "0"}), 0);
    const Audio plain = readAudio(folder.file("plain.wav"));
    EXPECT_EQ(readAudio(folder.file("tight.wav")).samples, plain.samples);
    for (const char* name : {"sung", "loose"}) {
        EXPECT_EQ(readBytes(folder.file("plain.pvc")), readBytes(folder.file(std::string(name) + ".pvc")));
        const Audio changed = readAudio(folder.file(std::string(name) + ".wav"));
        ASSERT_EQ(plain.frames(), changed.frames());
        double difference = 0.0;
        for (std::int64_t n = 0; n < plain.frames(); ++n) difference += std::fabs(plain.at(n, 0) - changed.at(n, 0));
        EXPECT_GT(difference / plain.frames(), 1e-4) << name;
    }
    // Only music has a singer and an intonation, and that within a quarter tone.
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"--programme", "noise:white", "--vibrato", "0.5@5.5"},
          std::vector<std::string>{"--programme", "noise:white", "--intonation", "5"},
          std::vector<std::string>{"--intonation", "60"}, std::vector<std::string>{"--intonation", "-1"}}) {
        std::vector<std::string> args = {folder.file("n.wav"), "--pvc", folder.file("n.pvc")};
        args.insert(args.end(), bad.begin(), bad.end());
        std::string errors;
        EXPECT_NE(runGen(args, &errors), 0) << bad[1];
        EXPECT_NE(errors.find(bad[bad.size() - 2].substr(2)), std::string::npos) << errors;
        EXPECT_FALSE(std::filesystem::exists(folder.file("n.wav")));
    }
}

TEST(Output, RatesChannelsAndLengths) {
    ScratchFolder folder;
    for (int rate : {8000, 22050, 48000, 96000})
        for (int channels : {1, 2}) {
            const std::string wav = folder.file("r.wav"), pvc = folder.file("r.pvc");
            ASSERT_EQ(runGen({wav, "--pvc", pvc, "--rate", std::to_string(rate), "--channels",
                              std::to_string(channels), "--seconds", "0.5", "--programme", "steps", "--wow", "0.2@3"}),
                      0);
            const Audio a = readAudio(wav);
            EXPECT_EQ(a.sampleRate, rate);
            EXPECT_EQ(a.channels, channels);
            EXPECT_EQ(a.frames(), rate / 2);
            EXPECT_EQ(readPvc(pvc).back().position, rate / 2 - 1);
        }
}

TEST(Output, ContainerFromTheNameOrTheOption) {
    ScratchFolder folder;
    const std::vector<std::string> common = {"--seconds", "0.5", "--programme", "sine:440", "--wow", "0.2@3"};
    auto run = [&](std::vector<std::string> args) {
        args.insert(args.end(), common.begin(), common.end());
        return runGen(args);
    };
    ASSERT_EQ(run({folder.file("a.wav"), "--pvc", folder.file("a.pvc")}), 0);
    ASSERT_EQ(run({folder.file("a.flac"), "--pvc", folder.file("b.pvc")}), 0);
    ASSERT_EQ(run({folder.file("c.snd"), "--pvc", folder.file("c.pvc"), "--format", "aiff"}), 0);
    const Audio wav = readAudio(folder.file("a.wav"));
    const Audio flac = readAudio(folder.file("a.flac"));
    const Audio aiff = readAudio(folder.file("c.snd"));
    EXPECT_EQ(wav.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    EXPECT_EQ(flac.format, SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
    EXPECT_EQ(aiff.format & SF_FORMAT_TYPEMASK, SF_FORMAT_AIFF);
    ASSERT_EQ(flac.samples.size(), wav.samples.size());
    for (std::size_t i = 0; i < wav.samples.size(); ++i) ASSERT_NEAR(flac.samples[i], wav.samples[i], 1.2e-7);
}

TEST(Output, SameSeedSameFilesOtherSeedOtherFiles) {
    ScratchFolder folder;
    // The samples and the curve (a float WAV's header carries a time stamp).
    auto run = [&](const std::string& name, const std::string& seed, const std::string& programme) {
        EXPECT_EQ(runGen({folder.file(name + ".wav"), "--pvc", folder.file(name + ".pvc"), "--seconds", "2",
                          "--programme", programme, "--drift", "0.3", "--hum", "60@-40", "--seed", seed}),
                  0);
        return std::make_pair(readAudio(folder.file(name + ".wav")).samples, readBytes(folder.file(name + ".pvc")));
    };
    for (const std::string programme : {"music", "noise:pink"}) {
        const auto first = run("a", "42", programme);
        const auto again = run("b", "42", programme);
        const auto other = run("c", "43", programme);
        EXPECT_TRUE(again.first == first.first) << programme;
        EXPECT_TRUE(again.second == first.second) << programme;
        EXPECT_FALSE(other.first == first.first) << programme;
        EXPECT_FALSE(other.second == first.second) << programme;
    }
}

}  // namespace
}  // namespace wowfix::gentest
