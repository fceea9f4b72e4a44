#pragma once

#include <cstdint>

namespace wowfix {

// The bit-reversal permutation of an n-point transform as a list of swaps.
//
// Element k of the input belongs at the index whose log2(n) bits are those of
// k in reverse order; the permutation is its own inverse, so it is carried out
// by swapping each pair (k, reverse(k)) with k > reverse(k) once. The list is
// computed once per length on first use and is read-only afterwards, so a
// transform walks a table instead of reversing bits for every index.
class HartleyPermutationTable {
public:
    static constexpr int kMaxBits = 17;

    struct Swaps {
        const std::uint32_t* pairs;  // pairs[2 m] and pairs[2 m + 1] are swapped
        int count;
    };

    // Swaps for n = 2^bits (1 <= bits <= kMaxBits). Answers false out of range
    // or when the list could not be allocated.
    static bool swaps(int bits, Swaps& out);
};

}  // namespace wowfix
