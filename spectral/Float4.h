#pragma once

#include <cstring>

namespace wowfix {

// Four single-precision lanes. Arithmetic on a Float4 is lane by lane, each
// lane rounded exactly as the same scalar float operation, so code written
// once for `float` and run on Float4 computes four independent problems with
// the same bits as four scalar runs. A scalar operand of a binary operation
// is applied to every lane. The compiler maps the type onto the target's
// 128-bit vector registers where it has them and onto scalar code elsewhere.
typedef float Float4 __attribute__((vector_size(16)));
typedef int Int4 __attribute__((vector_size(16)));

// Unaligned loads and stores.
inline Float4 load4(const float* p) {
    Float4 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline void store4(float* p, Float4 v) { std::memcpy(p, &v, sizeof v); }

// Lanes in the opposite order: (v3, v2, v1, v0).
inline Float4 reversed(Float4 v) {
#if defined(__clang__)
    return __builtin_shufflevector(v, v, 3, 2, 1, 0);
#else
    return __builtin_shuffle(v, Int4{3, 2, 1, 0});
#endif
}

// Transposes the 4 x 4 matrix whose rows are a, b, c, d.
inline void transpose4(Float4& a, Float4& b, Float4& c, Float4& d) {
#if defined(__clang__)
    const Float4 t0 = __builtin_shufflevector(a, b, 0, 4, 1, 5);
    const Float4 t1 = __builtin_shufflevector(a, b, 2, 6, 3, 7);
    const Float4 t2 = __builtin_shufflevector(c, d, 0, 4, 1, 5);
    const Float4 t3 = __builtin_shufflevector(c, d, 2, 6, 3, 7);
    a = __builtin_shufflevector(t0, t2, 0, 1, 4, 5);
    b = __builtin_shufflevector(t0, t2, 2, 3, 6, 7);
    c = __builtin_shufflevector(t1, t3, 0, 1, 4, 5);
    d = __builtin_shufflevector(t1, t3, 2, 3, 6, 7);
#else
    const Float4 t0 = __builtin_shuffle(a, b, Int4{0, 4, 1, 5});
    const Float4 t1 = __builtin_shuffle(a, b, Int4{2, 6, 3, 7});
    const Float4 t2 = __builtin_shuffle(c, d, Int4{0, 4, 1, 5});
    const Float4 t3 = __builtin_shuffle(c, d, Int4{2, 6, 3, 7});
    a = __builtin_shuffle(t0, t2, Int4{0, 1, 4, 5});
    b = __builtin_shuffle(t0, t2, Int4{2, 3, 6, 7});
    c = __builtin_shuffle(t1, t3, Int4{0, 1, 4, 5});
    d = __builtin_shuffle(t1, t3, Int4{2, 3, 6, 7});
#endif
}

}  // namespace wowfix
