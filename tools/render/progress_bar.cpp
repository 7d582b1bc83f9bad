#include "progress_bar.h"

#include <cstdio>
#include <string>

#include <unistd.h>

namespace render {

namespace {
constexpr auto kDelay = std::chrono::milliseconds(500);
constexpr auto kInterval = std::chrono::milliseconds(100);
constexpr int kWidth = 40;
}  // namespace

ProgressBar::ProgressBar(bool enabled) : enabled_(enabled) {}

ProgressBar::~ProgressBar() { finish(); }

bool ProgressBar::stderrIsTerminal() { return isatty(STDERR_FILENO) == 1; }

void ProgressBar::update(std::int64_t done, std::int64_t total) {
    if (!enabled_ || total <= 0) return;
    const Clock::time_point now = Clock::now();
    if (now - start_ < kDelay || now - lastDraw_ < kInterval) return;
    lastDraw_ = now;
    const double fraction = static_cast<double>(done) / static_cast<double>(total);
    const int filled = static_cast<int>(fraction * kWidth);
    const double elapsed = std::chrono::duration<double>(now - start_).count();
    const double remaining = fraction > 0.0 ? elapsed * (1.0 - fraction) / fraction : 0.0;
    std::fprintf(stderr, "\r[%s%s] %3d%%  %.0f s left ", std::string(static_cast<std::size_t>(filled), '#').c_str(),
                 std::string(static_cast<std::size_t>(kWidth - filled), '.').c_str(),
                 static_cast<int>(fraction * 100.0), remaining);
    std::fflush(stderr);
    drawn_ = true;
}

void ProgressBar::finish() {
    if (!drawn_) return;
    std::fprintf(stderr, "\r%*s\r", kWidth + 24, "");
    std::fflush(stderr);
    drawn_ = false;
}

}  // namespace render
