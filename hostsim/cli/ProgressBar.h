#pragma once
// A one-line progress bar on a terminal stream: "label [#####.....]  42%",
// redrawn in place whenever the shown percentage changes.

#include <ostream>
#include <string>

namespace wowfix::hostsim {

class ProgressBar {
public:
    static constexpr int kWidth = 40;

    ProgressBar(std::ostream& out, std::string label);

    // fraction 0 ... 1 (clamped; a non-number counts as 0).
    void update(double fraction);
    // Draws 100 % and ends the line (once, and only when something was drawn).
    void finish();
    // Ends the line where the bar stands, for a message after a failure.
    void abandon();

    int shownPercent() const { return percent_; }

private:
    void draw();

    std::ostream& out_;
    std::string label_;
    int percent_ = -1;
    bool open_ = false;
};

}  // namespace wowfix::hostsim
