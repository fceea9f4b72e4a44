#include "spectral/HartleyTwiddleTable.h"

#include <memory>
#include <mutex>
#include <new>

namespace wowfix {

namespace {

// cos and sin of pi / 2^(k+1), k = 0 ... 15, rounded to single precision.
constexpr float kCosTable[16] = {
    0.0f,
    0.70710678118654757274f,
    0.92387953251128673848f,
    0.98078528040323043058f,
    0.99518472667219692873f,
    0.99879545620517240501f,
    0.99969881869620424997f,
    0.99992470183914450299f,
    0.99998117528260110909f,
    0.99999529380957619118f,
    0.99999882345170187925f,
    0.99999970586288222663f,
    0.99999992646571789212f,
    0.99999998161642933425f,
    0.99999999540410733356f,
    0.99999999885102686115f,
};

constexpr float kSinTable[16] = {
    1.0f,
    0.70710678118654746172f,
    0.38268343236508978178f,
    0.19509032201612824808f,
    0.09801714032956060363f,
    0.04906767432741801493f,
    0.02454122852291228812f,
    0.01227153828571992539f,
    0.00613588464915447527f,
    0.00306795676296597614f,
    0.00153398018628476550f,
    0.00076699031874270449f,
    0.00038349518757139556f,
    0.00019174759731070329f,
    0.00009587379909597734f,
    0.00004793689960306688f,
};

struct StageStorage {
    std::unique_ptr<float[]> values;  // c1, s1, c2, s2 one after another
    int count = 0;
};

StageStorage gStages[HartleyTwiddleTable::kMaxStage + 1];
std::once_flag gStageOnce[HartleyTwiddleTable::kMaxStage + 1];

void buildStage(int k) {
    const int count = 1 << (k - 1);
    float* v = new (std::nothrow) float[4 * static_cast<size_t>(count)];
    if (v == nullptr) return;
    float* c1t = v;
    float* s1t = v + count;
    float* c2t = v + 2 * count;
    float* s2t = v + 3 * count;
    const float cosStep = kCosTable[k];
    const float sinStep = kSinTable[k];
    float c1 = 1.0f;
    float s1 = 0.0f;
    c1t[0] = 1.0f;
    s1t[0] = 0.0f;
    c2t[0] = 1.0f;
    s2t[0] = 0.0f;
    for (int i = 1; i < count; ++i) {
        const float t = c1;
        c1 = t * cosStep - s1 * sinStep;
        s1 = t * sinStep + s1 * cosStep;
        c1t[i] = c1;
        s1t[i] = s1;
        c2t[i] = c1 * c1 - s1 * s1;
        s2t[i] = 2.0f * c1 * s1;
    }
    gStages[k].values.reset(v);
    gStages[k].count = count;
}

}  // namespace

float HartleyTwiddleTable::stageCos(int k) { return (k >= 0 && k < 16) ? kCosTable[k] : 1.0f; }

float HartleyTwiddleTable::stageSin(int k) { return (k >= 0 && k < 16) ? kSinTable[k] : 0.0f; }

bool HartleyTwiddleTable::stage(int k, Stage& out) {
    if (k < 2 || k > kMaxStage) return false;
    std::call_once(gStageOnce[k], buildStage, k);
    const StageStorage& s = gStages[k];
    if (!s.values) return false;
    const float* v = s.values.get();
    out.c1 = v;
    out.s1 = v + s.count;
    out.c2 = v + 2 * s.count;
    out.s2 = v + 3 * s.count;
    return true;
}

}  // namespace wowfix
