#include "tools/meter/ZeroPhase.h"

#include <algorithm>

namespace wowfix::meter {

std::vector<double> mirrorExtension(const std::vector<double>& x, std::size_t pad) {
    if (x.empty()) return {};
    pad = std::min(pad, x.size() - 1);
    std::vector<double> out;
    out.reserve(x.size() + 2 * pad);
    for (std::size_t k = pad; k >= 1; --k) out.push_back(x[k]);
    out.insert(out.end(), x.begin(), x.end());
    const std::size_t last = x.size() - 1;
    for (std::size_t k = 1; k <= pad; ++k) out.push_back(x[last - k]);
    return out;
}

std::vector<double> zeroPhase(BiquadCascade filter, const std::vector<double>& signal, std::size_t pad) {
    if (signal.empty()) return {};
    pad = std::min(pad, signal.size() - 1);
    std::vector<double> work = mirrorExtension(signal, pad);
    filter.reset();
    filter.run(work);
    std::reverse(work.begin(), work.end());
    filter.reset();
    filter.run(work);
    std::reverse(work.begin(), work.end());
    return std::vector<double>(work.begin() + static_cast<long>(pad), work.begin() + static_cast<long>(pad + signal.size()));
}

std::vector<double> settledRun(BiquadCascade filter, const std::vector<double>& signal, std::size_t pad) {
    if (signal.empty()) return {};
    pad = std::min(pad, signal.size() - 1);
    std::vector<double> work = mirrorExtension(signal, pad);
    filter.reset();
    filter.run(work);
    return std::vector<double>(work.begin() + static_cast<long>(pad), work.begin() + static_cast<long>(pad + signal.size()));
}

}  // namespace wowfix::meter
