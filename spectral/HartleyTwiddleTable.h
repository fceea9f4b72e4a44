#pragma once

namespace wowfix {

// Twiddle factors of the fast Hartley transform, one table per stage.
//
// Stage k of the radix-4 transform rotates its butterflies by multiples of the
// angle pi / 2^(k+1). The rotation (c1, s1) for index i is obtained from the
// rotation for index i - 1 by one complex multiplication in single precision,
// starting from (1, 0); (c2, s2) is the double angle computed from (c1, s1).
// The tables are filled with exactly that recurrence, so a transform that reads
// them produces the same bits as one that runs the recurrence inline, while the
// inner loops are freed of the serial dependency.
//
// The tables are built once, on first use, and are read-only afterwards.
class HartleyTwiddleTable {
public:
    // Largest stage index served: transforms up to 2^(kMaxStage + 2) points.
    static constexpr int kMaxStage = 15;

    // cos(pi / 2^(k+1)) and sin(pi / 2^(k+1)) for k = 0 ... 15, in single precision.
    static float stageCos(int k);
    static float stageSin(int k);

    // Rotation tables of stage k (2 <= k <= kMaxStage): 2^(k-1) entries each,
    // entry 0 being the identity. Answers false for a stage out of range (or
    // when the table could not be allocated).
    struct Stage {
        const float* c1;
        const float* s1;
        const float* c2;
        const float* s2;
    };
    static bool stage(int k, Stage& out);
};

}  // namespace wowfix
