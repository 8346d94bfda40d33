#include "apps/cli/progress_bar.h"

#include <unistd.h>

#include <cstdio>
#include <string>

namespace corvanthe::cli {

ProgressBar::ProgressBar(bool enabled) : enabled_(enabled) {}

void ProgressBar::update(int32_t done, int32_t total) {
    if (!enabled_ || total <= 0) return;
    const int64_t clamped = done < 0 ? 0 : done > total ? total : done;
    const int percent = int(clamped * 100 / total);
    if (percent == last_percent_) return;
    last_percent_ = percent;
    constexpr int kWidth = 40;
    const int filled = percent * kWidth / 100;
    const std::string bar = std::string(size_t(filled), '#') + std::string(size_t(kWidth - filled), '-');
    std::fprintf(stderr, "\rrendering [%s] %3d%%", bar.c_str(), percent);
    std::fflush(stderr);
    drawn_ = true;
}

void ProgressBar::finish() {
    if (drawn_) std::fputc('\n', stderr);
    drawn_ = false;
}

bool stderr_is_terminal() { return isatty(STDERR_FILENO) == 1; }

}  // namespace corvanthe::cli
