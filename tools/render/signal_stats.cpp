#include "signal_stats.h"

#include <cmath>
#include <cstdio>

namespace render {

void SignalStats::add(const float* left, const float* right, int frames) {
    for (int i = 0; i < frames; ++i) {
        for (float sample : {left[i], right[i]}) {
            if (!std::isfinite(sample)) {
                ++nonFinite_;
                continue;
            }
            peak_ = std::fmax(peak_, std::fabs(sample));
            sumOfSquares_ += static_cast<double>(sample) * sample;
        }
    }
    frames_ += frames;
}

double SignalStats::rms() const noexcept {
    return frames_ > 0 ? std::sqrt(sumOfSquares_ / (2.0 * static_cast<double>(frames_))) : 0.0;
}

std::string decibelText(double level) {
    if (!(level > 0.0)) return "-inf dBFS";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f dBFS", 20.0 * std::log10(level));
    return text;
}

}  // namespace render
