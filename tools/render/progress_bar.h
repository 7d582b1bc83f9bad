// A progress bar on stderr for renders that take a while. It appears only
// when stderr is a terminal and the render has run for half a second, and it
// is cleared when the render ends, so short renders and logs stay clean.
#pragma once

#include <chrono>
#include <cstdint>

namespace render {

class ProgressBar {
public:
    // Draws nothing unless `enabled` (normally: stderr is a terminal).
    explicit ProgressBar(bool enabled);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void update(std::int64_t done, std::int64_t total);
    // Clears the bar's line.
    void finish();

    static bool stderrIsTerminal();

private:
    using Clock = std::chrono::steady_clock;
    bool enabled_;
    bool drawn_ = false;
    Clock::time_point start_ = Clock::now();
    Clock::time_point lastDraw_{};
};

}  // namespace render
