#include "hostsim/cli/ProgressBar.h"

#include <cmath>
#include <cstdio>
#include <utility>

namespace wowfix::hostsim {

ProgressBar::ProgressBar(std::ostream& out, std::string label) : out_(out), label_(std::move(label)) {}

void ProgressBar::update(double fraction) {
    if (!(fraction > 0.0)) fraction = 0.0;
    if (fraction > 1.0) fraction = 1.0;
    const int percent = static_cast<int>(std::floor(fraction * 100.0));
    if (percent == percent_) return;
    percent_ = percent;
    draw();
}

void ProgressBar::draw() {
    const int filled = percent_ * kWidth / 100;
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.append(static_cast<std::size_t>(kWidth - filled), '.');
    char percent[8];
    std::snprintf(percent, sizeof(percent), "%3d%%", percent_);
    out_ << '\r' << label_ << " [" << bar << "] " << percent << std::flush;
    open_ = true;
}

void ProgressBar::finish() {
    if (!open_) return;
    if (percent_ != 100) {
        percent_ = 100;
        draw();
    }
    out_ << '\n' << std::flush;
    open_ = false;
}

void ProgressBar::abandon() {
    if (!open_) return;
    out_ << '\n' << std::flush;
    open_ = false;
}

}  // namespace wowfix::hostsim
