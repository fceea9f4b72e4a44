#pragma once
// The generator's random numbers. Every step is spelled out here (the
// distributions of the standard library are not specified bit for bit), so a
// seed gives the same file wherever the C library's log, sin and cos agree.

#include <cstdint>

namespace wowfix::gen {

// Independent streams drawn from one user seed.
enum class RandomStream : std::uint64_t {
    Drift = 1,
    HumDrift = 2,
    Music = 3,
    Intonation = 4,
    Noise = 16,  // + channel index
};

class Random {
public:
    Random(std::uint64_t seed, RandomStream stream, std::uint64_t index = 0);

    std::uint64_t next();
    // Uniform in [0, 1), 53 bits.
    double uniform();
    double uniform(double low, double high) { return low + (high - low) * uniform(); }
    // Whole number in [0, count).
    int below(int count);
    // Standard normal (Box–Muller, both values of a pair used).
    double gaussian();

private:
    std::uint64_t state_[4];
    bool hasSpare_ = false;
    double spare_ = 0.0;
};

}  // namespace wowfix::gen
