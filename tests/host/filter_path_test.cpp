// The effect path through the binary interface: the vowel morph, the mix,
// the clip and the two processing entries.
//
// Instances given the same input have the same filter histories, whatever
// their gains: the bank's output is then, frame by frame, the sum of what
// instances resting on a single vowel give, weighted by the gains, and
// instances with equal gains give equal outputs bit for bit. The morph
// checks compare against such single-vowel instances, frame by frame.

#include <cfloat>
#include <cmath>
#include <limits>

#include "audio_fixture.h"

namespace {

constexpr float kA = 0.0f, kE = 0.1f, kU = 0.4f;  // vowel values
constexpr int kFadeIn = 52920;                       // morph time 0.3 at 44100 Hz

// An instance whose gains rest on one vowel from the first frame on.
Player settledOn(float vowel) {
    Player player;
    player.set(kMorphTime, 0.0f);
    player.set(kVowel, vowel);
    return player;
}

// Expects `out` to be the blend wA x a + wB x b of two single-vowel outputs
// at `frame` (to float rounding).
void expectBlend(const Stereo& out, double wA, const Stereo& a, double wB, const Stereo& b, int frame) {
    const double expected = wA * a.left[frame] + wB * b.left[frame];
    const double scale = std::fabs(wA * a.left[frame]) + std::fabs(wB * b.left[frame]);
    EXPECT_NEAR(out.left[frame], expected, 1e-6 * scale) << "frame " << frame;
}

TEST(FilterPath, NewInstanceFadesInTowardsVowelA) {
    const Stereo out = Player().run(60000, 0.5f, 0.5f);
    const Stereo a = settledOn(kA).run(60000, 0.5f, 0.5f);
    const Stereo silent(60000);
    // The gain of a rises by 1/52920 per frame from 0 and lands on 1 at frame
    // 52920 (index 52919).
    for (int frame : {1, 100, 5000, 13230, 26460, 39690, 52918})
        expectBlend(out, (frame + 1.0) / kFadeIn, a, 0.0, silent, frame);
    EXPECT_NE(out.left[kFadeIn - 2], a.left[kFadeIn - 2]);
    EXPECT_EQ(out.slice(kFadeIn - 1, 60000), a.slice(kFadeIn - 1, 60000));
    EXPECT_EQ(out.left, out.right);
}

TEST(FilterPath, VowelChangeMorphsFromThePresentBlend) {
    Player player, onA = settledOn(kA), onE = settledOn(kE);
    player.run(20000, 0.5f, 0.5f);
    const Stereo a = onA.run(100000, 0.5f, 0.5f).slice(20000, 100000);
    const Stereo e = onE.run(100000, 0.5f, 0.5f).slice(20000, 100000);

    // Half way through the fade-in towards a, e is chosen: the morph runs from
    // that blend (a at 20000/52920) to e alone over another 52920 frames.
    player.set(kVowel, kE);
    const Stereo out = player.run(80000, 0.5f, 0.5f);
    const double blendA = 20000.0 / kFadeIn;
    for (int frame : {0, 10000, 26459, 50000}) {
        const double t = (frame + 1.0) / kFadeIn;
        expectBlend(out, (1.0 - t) * blendA, a, t, e, frame);
    }
    EXPECT_NE(out.left[kFadeIn - 2], e.left[kFadeIn - 2]);
    EXPECT_EQ(out.slice(kFadeIn - 1, 80000), e.slice(kFadeIn - 1, 80000));
}

TEST(FilterPath, MorphTimeZeroAndTwoFrameMorph) {
    const Stereo a = settledOn(kA).run(10003, 0.5f, 0.5f);
    const Stereo u = settledOn(kU).run(10003, 0.5f, 0.5f);

    // Morph time 0: the new vowel's gains from the next frame on.
    Player instant = settledOn(kA);
    instant.run(10000, 0.5f, 0.5f);
    instant.set(kVowel, kU);
    EXPECT_EQ(instant.run(3, 0.5f, 0.5f), u.slice(10000, 10003));

    // A morph of 2 frames (2 / 176400 x 4 s at 44100 Hz): the first frame is
    // the half-way blend, the second lands on the new vowel.
    Player twoFrames;
    twoFrames.set(kMorphTime, 2.0f / 176400.0f);
    twoFrames.set(kVowel, kA);
    const Stereo before = twoFrames.run(10000, 0.5f, 0.5f);
    EXPECT_EQ(before.slice(1, 10000), a.slice(1, 10000));
    twoFrames.set(kVowel, kU);
    Stereo out(10000);
    out.append(twoFrames.run(3, 0.5f, 0.5f));
    expectBlend(out, 0.5, a, 0.5, u, 10000);
    EXPECT_EQ(out.slice(10001, 10003), u.slice(10001, 10003));
}

TEST(FilterPath, MorphTimeChangeFreezesTheBlend) {
    // A morph time set 10000 frames into the fade-in holds a at 10000/52920.
    Player player;
    player.run(10000, 0.5f, 0.5f);
    player.set(kMorphTime, 0.5f);  // 88200 frames for the next morph
    Stereo out(10000);
    out.append(player.run(20000, 0.5f, 0.5f));
    const int total = 30000 + 88201;
    const Stereo a = settledOn(kA).run(total, 0.5f, 0.5f);
    const Stereo e = settledOn(kE).run(total, 0.5f, 0.5f);
    for (int frame : {10000, 15000, 29999}) expectBlend(out, 10000.0 / kFadeIn, a, 0.0, e, frame);

    // The next vowel change morphs from the frozen blend over the new time.
    player.set(kVowel, kE);
    out.append(player.run(88201, 0.5f, 0.5f));
    expectBlend(out, 0.5 * 10000.0 / kFadeIn, a, 0.5, e, 30000 + 44099);
    EXPECT_NE(out.left[30000 + 88198], e.left[30000 + 88198]);
    EXPECT_EQ(out.slice(30000 + 88199, total), e.slice(30000 + 88199, total));
}

TEST(FilterPath, DryWetAndVolumeExtremes) {
    const Stereo in = Stereo::noise(20000, 0.8f);
    Player reference;
    reference.set(kVolume, 0.5f);  // output gain 0.75
    const Stereo expected = reference.run(in);

    // Dry/wet 1: the input times the output gain; the bank runs on unheard.
    Player dry;
    dry.set(kVolume, 0.5f);
    dry.set(kDryWet, 1.0f);
    const Stereo dryOut = dry.run(in.slice(0, 10000));
    for (std::size_t i = 0; i < dryOut.frames(); ++i) {
        ASSERT_EQ(dryOut.left[i], in.left[i] * 0.75f) << "frame " << i;
        ASSERT_EQ(dryOut.right[i], in.right[i] * 0.75f) << "frame " << i;
    }
    dry.set(kDryWet, 0.0f);
    EXPECT_EQ(dry.run(in.slice(10000, 20000)), expected.slice(10000, 20000));

    // Volume 1: silence, while every state advances.
    Player muted;
    muted.set(kVolume, 1.0f);
    const Stereo mutedOut = muted.run(in.slice(0, 10000));
    for (std::size_t i = 0; i < mutedOut.frames(); ++i) ASSERT_TRUE(mutedOut.left[i] == 0.0f && mutedOut.right[i] == 0.0f);
    muted.set(kVolume, 0.5f);
    EXPECT_EQ(muted.run(in.slice(10000, 20000)), expected.slice(10000, 20000));

    // Dry/wet 0: only the bank, the same on both channels.
    const Stereo wet = Player().run(in);
    EXPECT_EQ(wet.left, wet.right);
}

TEST(FilterPath, ClipLimitsTheMixedValue) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float justBelowMinusOne = -0x1.555558p+0f;  // x 0.75 = -1.0000001
    struct Case {
        float input, volume, expected;
    } cases[] = {
        {2.0f, 0.5f, 1.0f},          // 1.5
        {4.0f / 3.0f, 0.5f, 1.0f},   // 1.0
        {0.5f, 0.5f, 0.375f},        // within range
        {-4.0f / 3.0f, 0.5f, -1.0f}, // -1.0
        {justBelowMinusOne, 0.5f, -1.0f},
        {nan, 0.5f, -1.0f},
        {FLT_MAX, 0.0f, 1.0f},   // x 1.5 overflows to +infinity
        {-FLT_MAX, 0.0f, -1.0f}, // and to -infinity
    };
    EXPECT_EQ(justBelowMinusOne * 0.75f, -1.0000001f);
    for (const Case& c : cases) {
        Player player;
        player.set(kDryWet, 1.0f);
        player.set(kVolume, c.volume);
        const Stereo out = player.run(1, c.input, c.input);
        EXPECT_EQ(out.left[0], c.expected) << "input " << c.input;
        EXPECT_EQ(out.right[0], c.expected) << "input " << c.input;
    }
}

// process adds its result to what the output holds (the sum is not clipped);
// processReplacing overwrites it. Either may work in place.
TEST(FilterPath, AccumulatingAndReplacingEntries) {
    {
        Player player;
        player.set(kDryWet, 1.0f);
        player.set(kVolume, 0.5f);
        // 2/3 x 0.75 gives 0.5, added to the 0.75 the output holds.
        float inLeft[1] = {2.0f / 3.0f}, inRight[1] = {2.0f / 3.0f}, outLeft[1] = {0.75f}, outRight[1] = {0.75f};
        float* inputs[2] = {inLeft, inRight};
        float* outputs[2] = {outLeft, outRight};
        player->process(inputs, outputs, 1);
        EXPECT_EQ(outLeft[0], 1.25f);
        EXPECT_EQ(outRight[0], 1.25f);
    }

    const Stereo in = Stereo::noise(5000, 0.9f, 3), held = Stereo::noise(5000, 1.0f, 4);
    auto twin = [] {
        Player player;
        player.midi({noteOn(60)});
        return player;
    };
    Player replacing = twin(), accumulating = twin(), inPlace = twin(), inPlaceAccumulating = twin();
    for (std::size_t done = 0; done < in.frames(); done += 500) {
        const Stereo part = in.slice(done, done + 500), before = held.slice(done, done + 500);
        if (done == 2500) {
            for (Player* p : {&replacing, &accumulating, &inPlace, &inPlaceAccumulating}) p->midi({noteOff(60)});
        }
        const Stereo expected = replacing.run(part);

        Stereo source = part, sum = before;
        float* inputs[2] = {source.left.data(), source.right.data()};
        float* outputs[2] = {sum.left.data(), sum.right.data()};
        accumulating->process(inputs, outputs, 500);

        Stereo same = part;
        float* buffers[2] = {same.left.data(), same.right.data()};
        inPlace->processReplacing(buffers, buffers, 500);

        Stereo sameSum = part;
        float* sumBuffers[2] = {sameSum.left.data(), sameSum.right.data()};
        inPlaceAccumulating->process(sumBuffers, sumBuffers, 500);

        EXPECT_EQ(source, part) << "the input buffers are left as they were";
        EXPECT_EQ(same, expected);
        for (std::size_t i = 0; i < 500; ++i) {
            ASSERT_EQ(sum.left[i], before.left[i] + expected.left[i]) << "frame " << done + i;
            ASSERT_EQ(sum.right[i], before.right[i] + expected.right[i]) << "frame " << done + i;
            ASSERT_EQ(sameSum.left[i], part.left[i] + expected.left[i]) << "frame " << done + i;
            ASSERT_EQ(sameSum.right[i], part.right[i] + expected.right[i]) << "frame " << done + i;
        }
    }
}

// How the host cuts the audio into blocks does not change a single bit, in
// effect mode and in synth mode.
TEST(FilterPath, OneBlockEqualsTheSameAudioInManyBlocks) {
    const Stereo in = Stereo::noise(30000, 0.7f, 9);
    for (bool synth : {false, true}) {
        Player whole, pieces;
        for (Player* p : {&whole, &pieces}) {
            p->instance().dispatch(effSetBlockSize, 0, 30000);
            if (synth) p->midi({noteOn(64)});
        }
        const Stereo expected = whole.run(in, 30000);
        Stereo out;
        const std::size_t sizes[] = {1, 2, 3, 127, 128, 129, 1000, 4097, 64, 5};
        for (std::size_t done = 0, k = 0; done < in.frames(); ++k) {
            const std::size_t n = std::min(sizes[k % 10], in.frames() - done);
            out.append(pieces.run(in.slice(done, done + n), n));
            done += n;
        }
        EXPECT_EQ(out, expected) << (synth ? "synth" : "effect");
    }
}

// After loud input, silence settles each filter near 1e-24 / (1 - (c1 + ... +
// c10)) within about a second: 1.2e-19 for a, 2.5e-18 for u. The output stays
// of that order, a normal float, neither 0 nor subnormal.
TEST(FilterPath, SilenceSettlesOnTheBias) {
    struct Case {
        float vowel;
        double weight, low, high;
    } cases[] = {{kA, 0.5 * 0.19, 1.0e-19, 1.5e-19}, {kU, 0.41, 2.0e-18, 3.0e-18}};
    for (const Case& c : cases) {
        Player player = settledOn(c.vowel);
        player.set(kVolume, 0.5f);  // output gain 0.75
        player.run(Stereo::noise(20000, 20.0f));
        const Stereo out = player.run(88200, 0.0f, 0.0f);
        for (std::size_t i = 44100; i < out.frames(); ++i) {
            ASSERT_EQ(std::fpclassify(out.left[i]), FP_NORMAL) << "frame " << i;
            const double filterOutput = out.left[i] / (0.75 * c.weight);
            ASSERT_GT(filterOutput, c.low) << "vowel " << c.vowel << " frame " << i;
            ASSERT_LT(filterOutput, c.high) << "vowel " << c.vowel << " frame " << i;
        }
    }
}

}  // namespace
