#pragma once

namespace wowfix {

// Working space of the transforms, one array per thread, grown on demand and
// kept for the thread's lifetime. It carries nothing from one call to the
// next: a transform may overwrite all of it.
class HartleyScratch {
public:
    // At least n floats for the calling thread, or null when they could not
    // be allocated.
    static float* forLength(int n);
};

}  // namespace wowfix
