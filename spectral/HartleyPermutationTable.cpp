#include "spectral/HartleyPermutationTable.h"

#include <memory>
#include <mutex>
#include <new>

namespace wowfix {

namespace {

std::unique_ptr<std::uint32_t[]> gTables[HartleyPermutationTable::kMaxBits + 1];
std::once_flag gTableOnce[HartleyPermutationTable::kMaxBits + 1];

void buildTable(int bits) {
    const std::uint32_t n = 1u << bits;
    std::uint32_t* r = new (std::nothrow) std::uint32_t[n];
    if (r == nullptr) return;
    // r[2k] is r[k] shifted down one bit; r[2k + 1] adds the top bit.
    r[0] = 0;
    for (std::uint32_t k = 1; k < n; ++k) r[k] = (r[k >> 1] >> 1) | ((k & 1u) << (bits - 1));
    gTables[bits].reset(r);
}

}  // namespace

const std::uint32_t* HartleyPermutationTable::reversed(int bits) {
    if (bits < 0 || bits > kMaxBits) return nullptr;
    std::call_once(gTableOnce[bits], buildTable, bits);
    return gTables[bits].get();
}

}  // namespace wowfix
