// The constants of the vowel filter path: the five formant filters, the
// bank's per-vowel weights and the small bias that keeps values away from
// the subnormal range.
#pragma once

constexpr int kNumVowels = 5;     // a, e, i, o, u
constexpr int kFilterOrder = 10;  // past outputs per formant filter

// One 10th-order all-pole filter per vowel a, e, i, o, u. Column 0 scales the
// input sample, columns 1 to 10 the past outputs from the newest to the oldest:
//   y[n] = c0 x[n] + c1 y[n-1] + ... + c10 y[n-10] + kDenormalBias
// The poles lie inside the unit circle (radius 0.985 to 0.997) and the gain at
// 0 Hz is 1.008 to 1.032. The resonances sit at fixed fractions of the sample
// rate (at 44100 Hz: a near 793 and 1156 Hz, u near 318 and 703 Hz).
inline constexpr double kFormantCoeffs[kNumVowels][kFilterOrder + 1] = {
    {8.11044e-06, 8.943665402, -36.83889529, 92.01697887, -154.337906, 181.6233289, -151.8651235, 89.09614114,
     -35.10298511, 8.388101016, -0.923313471},
    {4.36215e-06, 8.90438318, -36.55179099, 91.05750846, -152.422234, 179.1170248, -149.6496211, 87.78352223,
     -34.60687431, 8.282228154, -0.914150747},
    {3.33819e-06, 8.893102966, -36.49532826, 90.96543286, -152.4545478, 179.4835618, -150.315433, 88.43409371,
     -34.98612086, 8.407803364, -0.932568035},
    {1.13572e-06, 8.994734087, -37.2084849, 93.22900521, -156.6929844, 184.596544, -154.3755513, 90.49663749,
     -35.58964535, 8.478996281, -0.929252233},
    {4.09431e-07, 8.997322763, -37.20218544, 93.11385476, -156.2530937, 183.7080141, -153.2631681, 89.59539726,
     -35.12454591, 8.338655623, -0.910251753},
};

// Weight of each filter's output in the bank sum; filter a is in addition
// halved (kVowelAScale) before its gain and weight.
inline constexpr double kVowelWeights[kNumVowels] = {0.19, 0.58, 0.48, 0.2, 0.41};
inline constexpr double kVowelAScale = 0.5;

// Added after the filter, envelope, phase and voice computations: a silent
// input then settles each filter near 1e-24 / (1 - (c1 + ... + c10)), about
// 1.2e-19 for a and 2.5e-18 for u, far above the subnormal range.
inline constexpr double kDenormalBias = 1e-24;
