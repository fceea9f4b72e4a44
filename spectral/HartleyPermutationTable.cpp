#include "spectral/HartleyPermutationTable.h"

#include <memory>
#include <mutex>
#include <new>

namespace wowfix {

namespace {

struct SwapList {
    std::unique_ptr<std::uint32_t[]> pairs;
    int count = 0;
};

SwapList gLists[HartleyPermutationTable::kMaxBits + 1];
std::once_flag gListOnce[HartleyPermutationTable::kMaxBits + 1];

std::uint32_t reverseBits(std::uint32_t k, int bits) {
    std::uint32_t r = 0;
    for (int b = 0; b < bits; ++b) {
        r = (r << 1) | (k & 1u);
        k >>= 1;
    }
    return r;
}

void buildList(int bits) {
    const std::uint32_t n = 1u << bits;
    int count = 0;
    for (std::uint32_t k = 1; k < n; ++k)
        if (k > reverseBits(k, bits)) ++count;
    std::uint32_t* pairs = new (std::nothrow) std::uint32_t[2 * static_cast<size_t>(count) + 1];
    if (pairs == nullptr) return;
    int m = 0;
    for (std::uint32_t k = 1; k < n; ++k) {
        const std::uint32_t j = reverseBits(k, bits);
        if (k > j) {
            pairs[2 * m] = k;
            pairs[2 * m + 1] = j;
            ++m;
        }
    }
    gLists[bits].pairs.reset(pairs);
    gLists[bits].count = count;
}

}  // namespace

bool HartleyPermutationTable::swaps(int bits, Swaps& out) {
    if (bits < 1 || bits > kMaxBits) return false;
    std::call_once(gListOnce[bits], buildList, bits);
    const SwapList& list = gLists[bits];
    if (!list.pairs) return false;
    out.pairs = list.pairs.get();
    out.count = list.count;
    return true;
}

}  // namespace wowfix
