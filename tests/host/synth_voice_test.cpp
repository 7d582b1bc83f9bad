// The synthesiser voice through the binary interface: MIDI notes, pitch,
// glide, envelope and waveforms.
//
// With dry/wet at 1 and volume at 0.5 each output frame is 0.75 times the
// voice's sample, so the voice can be read off the output: the square wave's
// magnitude is the envelope level, its steps from + to - count its periods.

#include <cmath>

#include "audio_fixture.h"

namespace {

// An instance that lets the voice's sample through unfiltered, x 0.75.
Player voiceListener(float waveform = kSquare) {
    Player player;
    player.set(kDryWet, 1.0f);
    player.set(kVolume, 0.5f);
    player.set(kWaveform, waveform);
    return player;
}

// Mid-period steps of a square wave from + to -: one per period.
bool periodMidpoint(const Stereo& out, std::size_t i) { return i > 0 && out.left[i - 1] > 0.0f && out.left[i] < 0.0f; }

int countPeriods(const Stereo& out) {
    int count = 0;
    for (std::size_t i = 1; i < out.frames(); ++i) count += periodMidpoint(out, i);
    return count;
}

// The first frame from which the period is at most `samples`.
std::size_t firstShortPeriod(const Stereo& out, std::size_t samples) {
    std::size_t last = 0;
    for (std::size_t i = 1; i < out.frames(); ++i) {
        if (!periodMidpoint(out, i)) continue;
        if (last != 0 && i - last <= samples) return i;
        last = i;
    }
    return out.frames();
}

TEST(SynthVoice, NotesSoundTheirTableFrequency) {
    // Once there, the glide steps across the pitch on every frame; a low note
    // with a large step would jitter across mid-period, so it glides slowly.
    struct Case {
        unsigned char note;
        double hertz;
        float glide;
    } cases[] = {{69, 440.0, 1.0f}, {81, 880.0, 1.0f}, {127, 12543.85, 1.0f}, {126, 11839.82, 1.0f}, {12, 16.3516, 0.0f}};
    for (const Case& c : cases) {
        Player player = voiceListener();
        player.set(kGlide, c.glide);
        player.midi({noteOn(c.note)});
        player.run(static_cast<std::size_t>(c.hertz / (0.0001 + 0.3 * c.glide)) + 12000, 0.0f, 0.0f);
        EXPECT_NEAR(countPeriods(player.run(44100, 0.0f, 0.0f)), c.hertz, 2.0) << "note " << int{c.note};
    }

    // Notes 0 to 11 sound note 12.
    auto play = [](unsigned char note) {
        Player player;
        player.midi({noteOn(note)});
        return player.run(20000, 0.0f, 0.0f);
    };
    const Stereo lowest = play(12);
    for (unsigned char note : {0, 5, 11}) EXPECT_EQ(play(note), lowest) << "note " << int{note};
    EXPECT_FALSE(play(13) == lowest);
}

// The pitch moves by 0.0001 + 0.3 x glide Hz per frame from 0 Hz, so it
// reaches 440 Hz after 440 / step frames.
TEST(SynthVoice, GlideMovesThePitchAtItsRate) {
    for (float glide : {0.9f, 0.5f, 0.2f}) {
        Player player = voiceListener();
        player.set(kGlide, glide);
        player.set(kAttack, 1.0f);
        player.midi({noteOn(69)});
        const Stereo out = player.run(12000, 0.0f, 0.0f);
        const double frames = 440.0 / (0.0001 + 0.3 * glide);
        // A period of 102 samples is 432 Hz.
        EXPECT_NEAR(firstShortPeriod(out, 102), frames * 432.0 / 440.0, 110.0) << "glide " << glide;
        EXPECT_NEAR(countPeriods(out.slice(static_cast<std::size_t>(frames) + 500, 12000)),
                    (12000 - frames - 500) * 440.0 / 44100.0, 2.0) << "glide " << glide;
    }
    // Glide 0: 0.0001 Hz per frame, so 4.41 Hz after a second, and 2.2
    // periods on the way.
    Player slow = voiceListener();
    slow.set(kGlide, 0.0f);
    slow.midi({noteOn(69)});
    EXPECT_NEAR(countPeriods(slow.run(44100, 0.0f, 0.0f)), 2, 1);
}

// The attack adds attack / 10000 per frame: with attack 1 the level passes 1
// on frame 10000, where it is 1.0000535, and is held at 1 from the next
// frame. The default 0.9 takes 11111 frames.
TEST(SynthVoice, AttackRisesLinearly) {
    Player player = voiceListener();
    player.set(kGlide, 0.0f);  // the square stays in its first half for 14000 frames
    player.set(kAttack, 1.0f);
    player.midi({noteOn(69)});
    const Stereo out = player.run(10100, 0.0f, 0.0f);
    EXPECT_NEAR(out.left[4999], 0.75 * 0.5, 1e-4);
    EXPECT_LT(out.left[9998], 0.75f);
    EXPECT_FLOAT_EQ(out.left[9999] / 0.75f, 1.0000535f);
    for (std::size_t i = 10000; i < out.frames(); ++i) ASSERT_EQ(out.left[i], 0.75f) << "frame " << i;
    EXPECT_EQ(out.left, out.right);

    Player standard = voiceListener();
    standard.set(kGlide, 0.0f);
    standard.midi({noteOn(69)});
    const Stereo rise = standard.run(11200, 0.0f, 0.0f);
    EXPECT_LT(rise.left[11109], 0.75f);
    EXPECT_GE(rise.left[11110], 0.75f);
}

// The release takes release / 10000 per frame from the level reached; on the
// frame on which it reaches 0 the voice is off and the host's input passes.
TEST(SynthVoice, ReleaseFallsAndHandsBackToTheInput) {
    Player player = voiceListener();
    player.set(kAttack, 1.0f);
    player.set(kRelease, 1.0f);
    player.midi({noteOn(69)});
    player.run(10500, 0.2f, 0.2f);
    player.midi({noteOff(69)});
    const Stereo out = player.run(10500, 0.2f, 0.2f);
    EXPECT_NEAR(std::fabs(out.left[4999]), 0.75 * 0.5, 1e-4);
    std::size_t off = 0;
    while (off < out.frames() && out.left[off] != 0.75f * 0.2f) ++off;
    EXPECT_NEAR(static_cast<double>(off), 9999.0, 2.0);
    EXPECT_LT(std::fabs(out.left[off - 1]), 0.75 * 2e-4);
    for (std::size_t i = off; i < out.frames(); ++i) ASSERT_EQ(out.left[i], 0.75f * 0.2f) << "frame " << i;
}

// Notes count: the voice sounds while note-ons outnumber note-offs, whatever
// note or channel a note-off names; a note-on with velocity 0 is a note-off;
// controller 126 (any value) releases and sets the count to 0; other
// controllers and pitch bend change nothing.
TEST(SynthVoice, NoteOnsAndNoteOffsCount) {
    auto run = [](std::initializer_list<EventList::Midi> first, std::initializer_list<EventList::Midi> second) {
        Player player = voiceListener();
        player.set(kAttack, 1.0f);
        player.set(kRelease, 1.0f);
        player.midi(first);
        Stereo out = player.run(12000, 0.2f, 0.2f);
        player.midi(second);
        out.append(player.run(12000, 0.2f, 0.2f));
        return out;
    };
    const Stereo released = run({noteOn(60)}, {noteOff(60)});
    const Stereo held = run({noteOn(60)}, {});
    ASSERT_FALSE(released == held);
    EXPECT_EQ(released.slice(23000, 24000), Stereo(1000, 0.15f, 0.15f));

    EXPECT_EQ(run({noteOn(60)}, {noteOn(60, 0)}), released) << "velocity 0";
    EXPECT_EQ(run({noteOn(60, 100, 3)}, {noteOff(72, 9)}), released) << "other note, other channel";
    EXPECT_EQ(run({noteOn(60)}, {controller(126, 0)}), released) << "controller 126";
    EXPECT_EQ(run({noteOn(60), noteOn(60)}, {controller(126, 127)}), released) << "controller 126 with two held";
    EXPECT_EQ(run({noteOn(60), noteOn(60)}, {noteOff(60)}), held) << "one of two released";
    EXPECT_EQ(run({noteOn(60)}, {controller(123, 0), {0xE0, 0, 100}, {0xC0, 5, 0}}), held) << "other messages";

    // After controller 126 the count starts again from 0: the next note sounds.
    Player player = voiceListener();
    player.set(kAttack, 1.0f);
    player.set(kRelease, 1.0f);
    player.midi({noteOn(60), noteOn(64)});
    player.run(11000, 0.2f, 0.2f);
    player.midi({controller(126, 0)});
    EXPECT_EQ(player.run(11000, 0.2f, 0.2f).slice(10500, 11000), Stereo(500, 0.15f, 0.15f));
    player.midi({noteOn(67)});
    EXPECT_NEAR(std::fabs(player.run(5000, 0.2f, 0.2f).left[4999]), 0.75 * 0.5, 1e-4);
}

// A second note while one is held moves the pitch without a new attack;
// releasing the first keeps the second's pitch.
TEST(SynthVoice, OverlappingNotesKeepTheLastPitch) {
    Player player = voiceListener();
    player.set(kGlide, 1.0f);
    player.set(kAttack, 1.0f);
    player.midi({noteOn(60)});
    player.run(11000, 0.0f, 0.0f);
    player.midi({noteOn(72)});
    const Stereo second = player.run(4000, 0.0f, 0.0f);
    float peak = 0.0f;
    for (float v : second.left) peak = std::max(peak, std::fabs(v));
    EXPECT_GT(peak, 0.74f) << "the level stays up: no attack from 0";
    player.midi({noteOff(60)});
    EXPECT_NEAR(countPeriods(player.run(44100, 0.0f, 0.0f)), 523.25, 2.0);
}

// While the voice sounds both channels carry its sample and the host's input
// is not heard; the filters take the voice too.
TEST(SynthVoice, VoiceReplacesTheInput) {
    Player quiet, loud;
    for (Player* p : {&quiet, &loud}) {
        p->set(kDryWet, 0.3f);
        p->run(Stereo::noise(5000, 0.5f));
        p->midi({noteOn(57)});
    }
    const Stereo out = quiet.run(20000, 0.0f, 0.0f);
    EXPECT_EQ(loud.run(Stereo::noise(20000, 0.9f, 7)), out);
    EXPECT_EQ(out.left, out.right);
}

// The waveform parameter against the decimal thresholds 0.3 and 0.6: no float
// lies exactly on them, so 0.3 (0.300000012) is already a square and 0.6
// (0.600000024) already noise.
TEST(SynthVoice, WaveformThresholds) {
    enum Shape { kSaw, kSquareWave, kNoiseWave };
    auto shapeOf = [](float waveform) {
        Player player = voiceListener(waveform);
        player.set(kGlide, 1.0f);
        player.set(kAttack, 1.0f);
        player.midi({noteOn(69)});
        player.run(12000, 0.0f, 0.0f);
        const Stereo out = player.run(4410, 0.0f, 0.0f);
        int full = 0, risingSteps = 0;
        for (std::size_t i = 0; i < out.frames(); ++i) {
            if (std::fabs(out.left[i]) == 0.75f) ++full;
            const float step = i > 0 ? out.left[i] - out.left[i - 1] : 0.0f;
            if (step > 0.0f && step < 0.05f) ++risingSteps;
        }
        if (full == static_cast<int>(out.frames())) return kSquareWave;
        return risingSteps > 0.9 * out.frames() ? kSaw : kNoiseWave;
    };
    struct Case {
        float waveform;
        Shape shape;
    } cases[] = {{0.0f, kSaw},         {0.29f, kSaw},       {0.3f, kSquareWave}, {0.4f, kSquareWave},
                 {0.59f, kSquareWave}, {0.6f, kNoiseWave}, {0.8f, kNoiseWave},  {1.0f, kNoiseWave}};
    for (const Case& c : cases) EXPECT_EQ(shapeOf(c.waveform), c.shape) << "waveform " << c.waveform;
}

}  // namespace
