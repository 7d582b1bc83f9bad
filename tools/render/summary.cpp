#include "summary.h"

#include <cinttypes>

namespace render {

void printSummary(std::FILE* out, const RenderCounts& counts, const SignalStats& stats, double sampleRate,
                  const std::string& indent) {
    const double seconds = static_cast<double>(counts.frames) / sampleRate;
    std::fprintf(out, "%sduration  %.2f s (%" PRId64 " frames at %.0f Hz, %" PRId64 " blocks, %" PRId64
                      " MIDI events)\n",
                 indent.c_str(), seconds, counts.frames, sampleRate, counts.blocks, counts.midiEvents);
    std::fprintf(out, "%speak      %s (%.4f)\n", indent.c_str(), decibelText(stats.peak()).c_str(),
                 static_cast<double>(stats.peak()));
    std::fprintf(out, "%sRMS       %s\n", indent.c_str(), decibelText(stats.rms()).c_str());
    if (stats.nonFinite() > 0)
        std::fprintf(out, "%swarning   %" PRId64 " samples were not finite\n", indent.c_str(), stats.nonFinite());
    if (counts.wallSeconds > 0.0)
        std::fprintf(out, "%sspeed     %.0fx real time (%.3f s)\n", indent.c_str(), seconds / counts.wallSeconds,
                     counts.wallSeconds);
}

}  // namespace render
