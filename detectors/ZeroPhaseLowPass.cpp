#include "detectors/ZeroPhaseLowPass.h"

#include <algorithm>
#include <cmath>

namespace wowfix {

namespace {
constexpr double kPi = 3.14159265358979323846;
}

ZeroPhaseLowPass::ZeroPhaseLowPass(double cutoff, double transition, double rate)
{
    if (!(cutoff > 0.0) || !(rate > 0.0) || cutoff >= 0.5 * rate) {
        kernel_.assign(1, 1.0);
        return;
    }
    const double width = transition > 0.0 ? transition : cutoff;
    const int half = std::max(1, static_cast<int>(std::ceil(2.0 * rate / width)));
    kernel_.resize(static_cast<std::size_t>(2 * half + 1));
    double sum = 0.0;
    for (int j = -half; j <= half; ++j) {
        const double x = 2.0 * cutoff / rate * j;
        const double sinc = j == 0 ? 1.0 : std::sin(kPi * x) / (kPi * x);
        const double hann = 0.5 * (1.0 + std::cos(kPi * j / (half + 1)));
        sum += kernel_[static_cast<std::size_t>(j + half)] = sinc * hann;
    }
    for (double& k : kernel_)
        k /= sum;
}

double ZeroPhaseLowPass::gainAt(double f, double rate) const
{
    const int half = taps() / 2;
    double gain = 0.0;
    for (int j = -half; j <= half; ++j)
        gain += kernel_[static_cast<std::size_t>(j + half)] * std::cos(2.0 * kPi * f * j / rate);
    return gain;
}

void ZeroPhaseLowPass::apply(std::vector<float>& values) const
{
    const long n = static_cast<long>(values.size());
    const long half = taps() / 2;
    if (half == 0 || n < 2)
        return;
    // Extended copy: odd reflection about the first and last values.
    std::vector<float> padded(static_cast<std::size_t>(n + 2 * half));
    for (long i = 0; i < n + 2 * half; ++i) {
        const long k = i - half;
        double v;
        if (k < 0)
            v = 2.0 * values[0] - values[static_cast<std::size_t>(std::min(-k, n - 1))];
        else if (k >= n)
            v = 2.0 * values[static_cast<std::size_t>(n - 1)] -
                values[static_cast<std::size_t>(std::max(2 * (n - 1) - k, 0L))];
        else
            v = values[static_cast<std::size_t>(k)];
        padded[static_cast<std::size_t>(i)] = static_cast<float>(v);
    }
    const double* kernel = kernel_.data();
    for (long i = 0; i < n; ++i) {
        const float* x = padded.data() + i;
        double sum = 0.0;
        for (long j = 0; j <= 2 * half; ++j)
            sum += kernel[j] * x[j];
        values[static_cast<std::size_t>(i)] = static_cast<float>(sum);
    }
}

}  // namespace wowfix
