// The lines printed after a render: length, level and speed.
#pragma once

#include <cstdio>
#include <string>

#include "renderer.h"
#include "signal_stats.h"

namespace render {

// "4.00 s (176400 frames at 44100 Hz) in 0.031 s, 129x real time" and the
// peak and RMS levels, each line starting with `indent`.
void printSummary(std::FILE* out, const RenderCounts& counts, const SignalStats& stats, double sampleRate,
                  const std::string& indent = "");

}  // namespace render
