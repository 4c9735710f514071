#include "ProgressBar.h"

#include <algorithm>
#include <cmath>

namespace brightfold::cli {
namespace {

constexpr int barWidth = 30;

} // namespace

void ProgressBar::show(const std::string& label, float fraction) {
    if (!enabled_) {
        return;
    }
    const float clamped = std::isfinite(fraction) ? std::clamp(fraction, 0.0f, 1.0f) : 0.0f;
    const int filled = static_cast<int>(std::lround(clamped * barWidth));
    const int percent = static_cast<int>(std::lround(clamped * 100));
    terminal_ << "\r\033[K[" << std::string(static_cast<std::size_t>(filled), '#')
              << std::string(static_cast<std::size_t>(barWidth - filled), '-') << "] "
              << (percent < 10    ? "  "
                  : percent < 100 ? " "
                                  : "")
              << percent << "%  " << label << std::flush;
    drawn_ = true;
}

void ProgressBar::finish() {
    if (drawn_) {
        terminal_ << "\r\033[K" << std::flush;
        drawn_ = false;
    }
}

} // namespace brightfold::cli
