// Level figures of a rendered signal, gathered block by block.
#pragma once

#include <cstdint>
#include <string>

namespace render {

class SignalStats {
public:
    void add(const float* left, const float* right, int frames);

    float peak() const noexcept { return peak_; }        // largest magnitude, both channels
    double rms() const noexcept;                         // over both channels
    std::int64_t frames() const noexcept { return frames_; }
    std::int64_t nonFinite() const noexcept { return nonFinite_; }

private:
    float peak_ = 0.0f;
    double sumOfSquares_ = 0.0;
    std::int64_t frames_ = 0;
    std::int64_t nonFinite_ = 0;
};

// "-6.0 dBFS"; "-inf dBFS" for silence.
std::string decibelText(double level);

}  // namespace render
