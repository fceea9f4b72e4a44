#include "tools/reference/ReferenceResampler.h"

#include <cmath>

namespace wowfix::reference {

namespace {
constexpr double pi = 3.141592653589793;
}

bool ReferenceResampler::init(int H, int length)
{
    history.assign(H, 0.0);
    ratioHistory.assign(H, 1.0);
    isFirst = isLast = false;
    fraction = 0.0;
    nextIndex = 0;
    lastIndex = 0;
    tailPad.assign(1, 0.0);
    work.assign(1, 0.0);
    workRatio.assign(1, 1.0);
    blockLength = length;
    historyLength = H;
    halfWidth = H;
    return true;
}

int ReferenceResampler::prepare(const float* ratios, const float* input, int count, bool first, bool last)
{
    const int H = halfWidth;
    isFirst = first;
    isLast = last;

    if (first) {
        historyLength = H;
        nextIndex = H;
    } else {
        historyLength = static_cast<int32_t>(history.size());
    }

    if (last) {
        blockLength = count;
        lastIndex = blockLength - 1 + historyLength;
        tailPad.assign(H, 0.0);
    } else {
        lastIndex = blockLength + historyLength - H - 1;
        tailPad.clear();
    }

    const size_t total = history.size() + static_cast<size_t>(count) + tailPad.size();
    work.assign(total, 0.0);
    workRatio.assign(total, 0.0);

    for (size_t n = 0; n < history.size(); ++n) {
        work[n] = history[n];
        workRatio[n] = ratioHistory[n];
    }
    for (int n = 0; n < count; ++n) {
        work[history.size() + n] = input[n];
        workRatio[history.size() + n] = ratios[n];
    }
    for (size_t n = 0; n < tailPad.size(); ++n)
        work[history.size() + count + n] = tailPad[n];

    int k = 0;
    int32_t i = nextIndex;
    double pos = i + fraction;
    while (i <= lastIndex) {
        ++k;
        pos = pos + 1.0 / workRatio[i];
        i = static_cast<int32_t>(std::trunc(pos));
    }
    return k;
}

bool ReferenceResampler::render(float* output)
{
    const int H = halfWidth;
    int32_t i = nextIndex;
    double pos = i + fraction;
    int m = 0;

    while (i <= lastIndex) {
        const double d = pos - i;
        double acc = 0.0;
        for (int k = -H; k <= H; ++k) {
            const double t = (d - k) * pi;
            const double s = (t == 0.0) ? 1.0 : std::sin(t) / t;
            const double w = 0.5 * (1.0 - std::cos(2.0 * pi * ((d - k) + H) / (2 * H + 1)));
            acc = acc + s * work[i + k] * w;
        }
        output[m] = static_cast<float>(acc);
        ++m;
        pos = pos + 1.0 / workRatio[i];
        i = static_cast<int32_t>(std::trunc(pos));
    }

    fraction = pos - i;
    const int32_t end = blockLength + historyLength;
    if (i + 1 - H <= end) {
        history.assign(work.begin() + (i - H), work.begin() + end);
        ratioHistory.assign(workRatio.begin() + (i - H), workRatio.begin() + end);
        nextIndex = H;
    } else {
        history.clear();
        ratioHistory.clear();
        nextIndex = i - end;
    }
    return true;
}

} // namespace wowfix::reference
