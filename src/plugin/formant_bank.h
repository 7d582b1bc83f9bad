// The block engine's core: the vowel morph and the five formant filters over
// a run of frames, fused with the bank sum, the mix, the clip and the store
// to the host's buffers. It computes the same bits as APlugin::processSample
// does one frame at a time, only faster:
//   - the five filters run side by side in SSE2 lanes (a|e, i|o, u|unused),
//     so their five dependency chains overlap;
//   - the history is a run buffer written forwards, the newest output kept in
//     a register, instead of an array moved one place per frame;
//   - parameters and morph end points are read once per run, and the caller
//     prepares each frame's filter input and dry values ahead (voice, input
//     fold), so this loop does only the morph, the bank and the mix.
// Each lane performs exactly the scalar operations in the scalar order, so
// the lanes change the speed and not the result.
#pragma once

#include <cstdint>

#include "plugin/formant_coeffs.h"

class FormantBank {
public:
    static constexpr int kMaxFrames = 128;  // frames per run
    static constexpr int kPairs = 3;        // SSE2 registers holding the five filters

    // The mix of one block: out = gain x (dry x dryWet + wetShare x wet).
    struct Mix {
        double dryWet;
        double wetShare;  // 1 - dryWet
        double gain;      // (1 - volume) x 1.5
    };

    // The morph over a run: in its first `frames` frames the gains are
    // (1 - t) x from + t x to, each rounded to float, with t = (position + n)
    // / length rounded to float on the run's n-th frame (from 1); the frames
    // after them take `to`.
    struct Morph {
        int frames;
        std::int64_t position;  // the morph counter before the run
        double length;
        float from[kNumVowels];
        float to[kNumVowels];
    };

    // ---- Filled by the caller before each run ------------------------------
    float input[kMaxFrames];   // the filter input of each frame
    float dry[kMaxFrames][2];  // left and right before the mix

    // Moves the instance's histories (entry 0 newest) into the run buffer and
    // back; a block starts and ends with them.
    void loadHistory(const double (&memory)[kNumVowels][kFilterOrder]);
    void storeHistory(double (&memory)[kNumVowels][kFilterOrder]) const;

    // Runs `frames` (1 to kMaxFrames) frames and writes (or, accumulating,
    // adds) each frame's output to left[i] and right[i].
    void run(int frames, const Morph& morph, const Mix& mix, bool accumulate, float* left, float* right);

private:
    template <bool kMorphing, bool kAccumulate>
    void runFrames(int begin, int end, const Morph& morph, const Mix& mix, float* left, float* right);
    // After a frame whose bank sum is not finite: clears the history of every
    // filter whose output was not finite, so one bad input frame cannot stick.
    void clearNonFinite(int frame, double (&newest)[kPairs][2]);

    // history[pair][kFilterOrder + i] holds the outputs of frame i of the run;
    // positions 0 to kFilterOrder - 1 the ten outputs before it, oldest first.
    double history_[kPairs][kFilterOrder + kMaxFrames][2] = {};
};
