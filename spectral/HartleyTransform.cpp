#include "spectral/HartleyTransform.h"

#include "spectral/HartleyScratch.h"
#include "spectral/HartleyStages.h"

namespace wowfix {

namespace {

// This thread's working space for an n-point transform, or null when the
// transform is to run in place (short lengths, or no memory to be had).
float* scratchFor(int n) { return n >= 16 ? HartleyScratch::forLength(n) : nullptr; }

}  // namespace

bool HartleyTransform::isSupportedLength(int n) {
    return n >= kMinLength && n <= kMaxLength && (n & (n - 1)) == 0;
}

bool HartleyTransform::fht(float* x, int n) const {
    if (x == nullptr || !isSupportedLength(n)) return false;
    if (float* scratch = scratchFor(n)) return hartley::transformThroughScratch(x, n, scratch, hartley::Output::hartley);
    return hartley::transformInPlace(x, n);
}

bool HartleyTransform::realFft(int n, float* x) const {
    if (x == nullptr || !isSupportedLength(n)) return false;
    if (float* scratch = scratchFor(n))
        return hartley::transformThroughScratch(x, n, scratch, hartley::Output::realSpectrum);
    if (!hartley::transformInPlace(x, n)) return false;
    for (int i = 1, j = n - 1; i < n / 2; ++i, --j) {
        const float a = x[i];
        const float b = x[j];
        x[j] = (a - b) * 0.5f;
        x[i] = (a + b) * 0.5f;
    }
    return true;
}

bool HartleyTransform::realIfft(int n, float* x) const {
    if (x == nullptr || !isSupportedLength(n)) return false;
    for (int i = 1, j = n - 1; i < n / 2; ++i, --j) {
        const float a = x[i];
        const float b = x[j];
        x[j] = a - b;
        x[i] = a + b;
    }
    return fht(x, n);
}

bool HartleyTransform::complexFft(int n, float* re, float* im) const {
    if (re == nullptr || im == nullptr || !isSupportedLength(n)) return false;
    for (int i = 1, j = n - 1; i < n / 2; ++i, --j) {
        const float a = re[i];
        const float b = re[j];
        const float q = im[i];
        const float r = im[j];
        re[i] = ((a + b) + (q - r)) * 0.5f;
        re[j] = ((a + b) - (q - r)) * 0.5f;
        im[i] = ((q + r) - (a - b)) * 0.5f;
        im[j] = ((q + r) + (a - b)) * 0.5f;
    }
    return fht(re, n) && fht(im, n);
}

bool HartleyTransform::complexIfft(int n, float* re, float* im) const {
    if (re == nullptr || im == nullptr || !isSupportedLength(n)) return false;
    if (!fht(re, n) || !fht(im, n)) return false;
    for (int i = 1, j = n - 1; i < n / 2; ++i, --j) {
        const float a = re[i];
        const float b = re[j];
        const float q = im[i];
        const float r = im[j];
        im[i] = ((q + r) + (a - b)) * 0.5f;
        im[j] = ((q + r) - (a - b)) * 0.5f;
        re[i] = ((a + b) - (q - r)) * 0.5f;
        re[j] = ((a + b) + (q - r)) * 0.5f;
    }
    return true;
}

}  // namespace wowfix
