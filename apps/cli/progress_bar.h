#pragma once
// The progress bar of a run on stderr, drawn only when stderr is a terminal.
#include <cstdint>

namespace corvanthe::cli {

class ProgressBar {
public:
    explicit ProgressBar(bool enabled);
    void update(int32_t done, int32_t total);
    // Ends the bar's line, if one was drawn.
    void finish();

private:
    bool enabled_;
    bool drawn_ = false;
    int last_percent_ = -1;
};

// True when stderr is a terminal.
bool stderr_is_terminal();

}  // namespace corvanthe::cli
