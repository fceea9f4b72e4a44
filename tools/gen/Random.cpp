#include "tools/gen/Random.h"

#include <cmath>

#include "tools/gen/MathConstants.h"

namespace wowfix::gen {

namespace {

std::uint64_t splitMix(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

}  // namespace

// xoshiro256** seeded through SplitMix64 from (seed, stream, index).
Random::Random(std::uint64_t seed, RandomStream stream, std::uint64_t index) {
    std::uint64_t x = seed;
    x ^= splitMix(x) + static_cast<std::uint64_t>(stream) * 0xD1B54A32D192ED03ull + index;
    for (std::uint64_t& word : state_) word = splitMix(x);
}

std::uint64_t Random::next() {
    const std::uint64_t result = rotl(state_[1] * 5, 7) * 9;
    const std::uint64_t t = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = rotl(state_[3], 45);
    return result;
}

double Random::uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

int Random::below(int count) { return static_cast<int>(uniform() * count); }

double Random::gaussian() {
    if (hasSpare_) {
        hasSpare_ = false;
        return spare_;
    }
    const double u = 1.0 - uniform();  // (0, 1]
    const double v = uniform();
    const double radius = std::sqrt(-2.0 * std::log(u));
    const double angle = kTwoPi * v;
    spare_ = radius * std::sin(angle);
    hasSpare_ = true;
    return radius * std::cos(angle);
}

}  // namespace wowfix::gen
