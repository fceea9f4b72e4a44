#pragma once

#include <cstdint>

namespace wowfix {

// The bit-reversal permutation of an n-point transform as a table.
//
// Element k of the input belongs at the index whose log2(n) bits are those of
// k in reverse order. The table of reversed indices is computed once per
// number of bits on first use and is read-only afterwards, so a transform
// looks reversed indices up instead of reversing bits for every index.
class HartleyPermutationTable {
public:
    static constexpr int kMaxBits = 17;

    // reversed[k] for k = 0 ... 2^bits - 1 (0 <= bits <= kMaxBits), or null
    // out of range or when the table could not be allocated.
    static const std::uint32_t* reversed(int bits);
};

}  // namespace wowfix
