// wowfix-output-match A B [TOLERANCE]: whether two audio files hold the same
// sound: the same rate, channel count and length, and every sample within
// TOLERANCE (default 1e-6) of the other's. Prints what differs (the largest
// difference and where) and exits 1 when anything does; 0 when they match,
// 2 when a file cannot be read.

#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct Sound {
    SF_INFO info{};
    std::vector<float> samples;
};

bool readSound(const char* path, Sound& sound) {
    std::memset(&sound.info, 0, sizeof(sound.info));
    SNDFILE* file = sf_open(path, SFM_READ, &sound.info);
    if (file == nullptr) {
        std::fprintf(stderr, "cannot read '%s': %s\n", path, sf_strerror(nullptr));
        return false;
    }
    sound.samples.resize(static_cast<std::size_t>(sound.info.frames) * static_cast<std::size_t>(sound.info.channels));
    const sf_count_t read = sf_readf_float(file, sound.samples.data(), sound.info.frames);
    sf_close(file);
    if (read != sound.info.frames) {
        std::fprintf(stderr, "cannot read '%s': it ends after %lld of %lld frames\n", path,
                     static_cast<long long>(read), static_cast<long long>(sound.info.frames));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: wowfix-output-match A B [TOLERANCE]\n");
        return 2;
    }
    const double tolerance = argc == 4 ? std::atof(argv[3]) : 1e-6;
    Sound a, b;
    if (!readSound(argv[1], a) || !readSound(argv[2], b)) return 2;
    if (a.info.samplerate != b.info.samplerate || a.info.channels != b.info.channels ||
        a.info.frames != b.info.frames) {
        std::printf("the files differ in form: %d Hz, %d channel(s), %lld frames against %d Hz, %d channel(s), "
                    "%lld frames\n",
                    a.info.samplerate, a.info.channels, static_cast<long long>(a.info.frames), b.info.samplerate,
                    b.info.channels, static_cast<long long>(b.info.frames));
        return 1;
    }
    if (a.info.frames == 0) {
        std::printf("the files hold no sound to compare\n");
        return 1;
    }
    double largest = 0.0;
    std::size_t where = 0, over = 0;
    for (std::size_t i = 0; i < a.samples.size(); ++i) {
        const double difference = std::fabs(static_cast<double>(a.samples[i]) - b.samples[i]);
        if (difference > tolerance) ++over;
        if (difference > largest) {
            largest = difference;
            where = i;
        }
    }
    const int channels = a.info.channels;
    std::printf("%lld frames, %d channel(s): largest difference %.3g at frame %zu, channel %d; %zu sample(s) "
                "beyond %.3g\n",
                static_cast<long long>(a.info.frames), channels, largest, where / static_cast<std::size_t>(channels),
                static_cast<int>(where % static_cast<std::size_t>(channels)) + 1, over, tolerance);
    return over == 0 ? 0 : 1;
}
