#include "spectral/HartleyScratch.h"

#include <memory>
#include <new>

namespace wowfix {

float* HartleyScratch::forLength(int n) {
    thread_local std::unique_ptr<float[]> buffer;
    thread_local int capacity = 0;
    if (n <= 0) return nullptr;
    if (capacity < n) {
        buffer.reset(new (std::nothrow) float[static_cast<size_t>(n)]);
        capacity = buffer ? n : 0;
    }
    return buffer.get();
}

}  // namespace wowfix
