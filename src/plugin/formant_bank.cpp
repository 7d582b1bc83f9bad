#include "plugin/formant_bank.h"

#include <emmintrin.h>

#include <cmath>

#include "plugin/formant_coeffs.h"

namespace {

using Pair = double[2];

// The constants rearranged into lanes: lane l of pair p belongs to vowel
// 2p + l; the sixth lane, which no vowel uses, is all zero.
struct LaneTable {
    Pair coeffs[FormantBank::kPairs][kFilterOrder + 1];
    Pair weights[FormantBank::kPairs];
    Pair scaleA;  // filter a is halved; y x 1.0 in the other lane is exact
};

constexpr LaneTable makeLaneTable() {
    LaneTable table{};
    for (int vowel = 0; vowel < kNumVowels; ++vowel) {
        for (int j = 0; j <= kFilterOrder; ++j) table.coeffs[vowel / 2][j][vowel % 2] = kFormantCoeffs[vowel][j];
        table.weights[vowel / 2][vowel % 2] = kVowelWeights[vowel];
    }
    table.scaleA[0] = kVowelAScale;
    table.scaleA[1] = 1.0;
    return table;
}

alignas(16) constexpr LaneTable kLanes = makeLaneTable();

// The constant table is aligned by the linker. The instance is not always:
// 32-bit Windows allocates on 8-byte boundaries, so the history in it is
// read and written without an alignment assumption.
inline __m128d load(const Pair& pair) { return _mm_load_pd(pair); }
inline __m128d loadAny(const Pair& pair) { return _mm_loadu_pd(pair); }
inline void storeAny(Pair& pair, __m128d value) { _mm_storeu_pd(pair, value); }

// Both lanes rounded to float and held as doubles.
inline __m128d toFloatPair(__m128d value) { return _mm_cvtps_pd(_mm_cvtpd_ps(value)); }

// One step of two filters: the sum in the fixed order c0 x, c1 h0 (the newest
// output, kept in a register), c2 h1 ... c10 h9, then the bias; the result
// rounded to float and held as a double. `older` points at h1; h(j) lies j - 1
// places before it.
inline __m128d filterStep(const Pair* coeffs, __m128d x, __m128d newest, const Pair* older) {
    __m128d sum = _mm_mul_pd(load(coeffs[0]), x);
    sum = _mm_add_pd(sum, _mm_mul_pd(load(coeffs[1]), newest));
#pragma GCC unroll 9
    for (int j = 2; j <= kFilterOrder; ++j) sum = _mm_add_pd(sum, _mm_mul_pd(load(coeffs[j]), loadAny(older[2 - j])));
    sum = _mm_add_pd(sum, _mm_set1_pd(kDenormalBias));
    return toFloatPair(sum);
}

}  // namespace

void FormantBank::loadHistory(const double (&memory)[kNumVowels][kFilterOrder]) {
    for (int pair = 0; pair < kPairs; ++pair)
        for (int lane = 0; lane < 2; ++lane)
            for (int j = 0; j < kFilterOrder; ++j) {
                const int vowel = 2 * pair + lane;
                history_[pair][kFilterOrder - 1 - j][lane] = vowel < kNumVowels ? memory[vowel][j] : 0.0;
            }
}

void FormantBank::storeHistory(double (&memory)[kNumVowels][kFilterOrder]) const {
    for (int vowel = 0; vowel < kNumVowels; ++vowel)
        for (int j = 0; j < kFilterOrder; ++j) memory[vowel][j] = history_[vowel / 2][kFilterOrder - 1 - j][vowel % 2];
}

void FormantBank::run(int frames, const Morph& morph, const Mix& mix, bool accumulate, float* left, float* right) {
    const int morphing = morph.frames < frames ? morph.frames : frames;
    if (accumulate) {
        runFrames<true, true>(0, morphing, morph, mix, left, right);
        runFrames<false, true>(morphing, frames, morph, mix, left, right);
    } else {
        runFrames<true, false>(0, morphing, morph, mix, left, right);
        runFrames<false, false>(morphing, frames, morph, mix, left, right);
    }
    // The last ten outputs become the history before the next run.
    for (int pair = 0; pair < kPairs; ++pair)
        for (int j = 0; j < kFilterOrder; ++j) storeAny(history_[pair][j], loadAny(history_[pair][frames + j]));
}

template <bool kMorphing, bool kAccumulate>
void FormantBank::runFrames(int begin, int end, const Morph& morph, const Mix& mix, float* left, float* right) {
    if (begin >= end) return;
    // Three named registers rather than an array: the newest outputs must not
    // pass through memory between frames, where they lie on the critical path.
    __m128d newestAE = loadAny(history_[0][kFilterOrder + begin - 1]);
    __m128d newestIO = loadAny(history_[1][kFilterOrder + begin - 1]);
    __m128d newestU = loadAny(history_[2][kFilterOrder + begin - 1]);

    // The morph's end points in lanes; a settled morph rests on `to`.
    const __m128d fromAE = _mm_setr_pd(morph.from[0], morph.from[1]);
    const __m128d fromIO = _mm_setr_pd(morph.from[2], morph.from[3]);
    const __m128d fromU = _mm_setr_pd(morph.from[4], 0.0);
    __m128d gainAE = _mm_setr_pd(morph.to[0], morph.to[1]);
    __m128d gainIO = _mm_setr_pd(morph.to[2], morph.to[3]);
    __m128d gainU = _mm_setr_pd(morph.to[4], 0.0);
    const __m128d toAE = gainAE, toIO = gainIO, toU = gainU;
    const double length = morph.length;
    double position = static_cast<double>(morph.position + begin);  // exact: below 2^53

    const __m128d dryWet = _mm_set1_pd(mix.dryWet);
    const __m128d wetShare = _mm_set1_pd(mix.wetShare);
    const __m128d outputGain = _mm_set1_pd(mix.gain);
    const __m128 upper = _mm_set1_ps(1.0f);
    const __m128 lower = _mm_set1_ps(-1.0f);

    for (int i = begin; i < end; ++i) {
        // The five filters.
        const __m128d x = _mm_set1_pd(static_cast<double>(input[i]));
        newestAE = filterStep(kLanes.coeffs[0], x, newestAE, &history_[0][kFilterOrder + i - 2]);
        newestIO = filterStep(kLanes.coeffs[1], x, newestIO, &history_[1][kFilterOrder + i - 2]);
        newestU = filterStep(kLanes.coeffs[2], x, newestU, &history_[2][kFilterOrder + i - 2]);
        storeAny(history_[0][kFilterOrder + i], newestAE);
        storeAny(history_[1][kFilterOrder + i], newestIO);
        storeAny(history_[2][kFilterOrder + i], newestU);

        // The morph: gains from both end points, each rounded to float.
        if (kMorphing) {
            position += 1.0;
            const double t = static_cast<float>(position / length);
            const __m128d share = _mm_set1_pd(t);
            const __m128d rest = _mm_set1_pd(1.0 - t);
            gainAE = toFloatPair(_mm_add_pd(_mm_mul_pd(rest, fromAE), _mm_mul_pd(share, toAE)));
            gainIO = toFloatPair(_mm_add_pd(_mm_mul_pd(rest, fromIO), _mm_mul_pd(share, toIO)));
            gainU = toFloatPair(_mm_add_pd(_mm_mul_pd(rest, fromU), _mm_mul_pd(share, toU)));
        }

        // The bank sum: each term ((y x scale) x gain) x weight, added a, e,
        // i, o, u from left to right.
        const __m128d termAE =
            _mm_mul_pd(_mm_mul_pd(_mm_mul_pd(newestAE, load(kLanes.scaleA)), gainAE), load(kLanes.weights[0]));
        const __m128d termIO = _mm_mul_pd(_mm_mul_pd(newestIO, gainIO), load(kLanes.weights[1]));
        const __m128d termU = _mm_mul_pd(_mm_mul_pd(newestU, gainU), load(kLanes.weights[2]));
        __m128d wet = _mm_add_sd(termAE, _mm_unpackhi_pd(termAE, termAE));
        wet = _mm_add_sd(wet, termIO);
        wet = _mm_add_sd(wet, _mm_unpackhi_pd(termIO, termIO));
        wet = _mm_add_sd(wet, termU);
        if (!std::isfinite(_mm_cvtsd_f64(wet))) {
            double outputs[kPairs][2];
            storeAny(outputs[0], newestAE);
            storeAny(outputs[1], newestIO);
            storeAny(outputs[2], newestU);
            clearNonFinite(i, outputs);
            newestAE = loadAny(outputs[0]);
            newestIO = loadAny(outputs[1]);
            newestU = loadAny(outputs[2]);
        }
        wet = _mm_cvtss_sd(wet, _mm_cvtsd_ss(_mm_castpd_ps(wet), wet));  // rounded to float once
        wet = _mm_unpacklo_pd(wet, wet);

        // Mix and output gain for left and right together, then the clip:
        // above 1 gives 1, anything not at least -1 (NaN too) gives -1.
        const __m128d dryPair = _mm_cvtps_pd(_mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(dry[i]))));
        const __m128d mixed = _mm_mul_pd(outputGain, _mm_add_pd(_mm_mul_pd(dryPair, dryWet), _mm_mul_pd(wetShare, wet)));
        const __m128 out = _mm_max_ps(_mm_min_ps(upper, _mm_cvtpd_ps(mixed)), lower);
        const float outLeft = _mm_cvtss_f32(out);
        const float outRight = _mm_cvtss_f32(_mm_shuffle_ps(out, out, 1));
        if (kAccumulate) {
            left[i] += outLeft;
            right[i] += outRight;
        } else {
            left[i] = outLeft;
            right[i] = outRight;
        }
    }
}

void FormantBank::clearNonFinite(int frame, double (&newest)[kPairs][2]) {
    for (int pair = 0; pair < kPairs; ++pair)
        for (int lane = 0; lane < 2; ++lane) {
            if (std::isfinite(newest[pair][lane])) continue;
            newest[pair][lane] = 0.0;
            for (int j = 0; j < kFilterOrder; ++j) history_[pair][kFilterOrder + frame - j][lane] = 0.0;
        }
}
