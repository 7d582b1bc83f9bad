// The voice's fields, where they are the clearest witness: the note table,
// MIDI handling, glide and envelope values, the phase wrap; and the morph
// counter at the top of its range.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "engine_test_plugin.h"
#include "plugin/note_table.h"
#include "plugin/synth_voice.h"

namespace {

// Processes `frames` frames of silence through the block entry.
void run(EngineTestPlugin& plugin, int frames) {
    float left[256] = {}, right[256] = {};
    float* buffers[2] = {left, right};
    for (int done = 0; done < frames; done += 256) plugin.processReplacing(buffers, buffers, std::min(256, frames - done));
}

TEST(NoteTable, EntriesAreEqualTemperamentRoundedOnce) {
    for (int n = 0; n < kNoteTableSize; ++n)
        EXPECT_EQ(kNoteFrequencies[n], static_cast<float>(440.0 * std::pow(2.0, (n - 57) / 12.0))) << "entry " << n;
    EXPECT_EQ(noteFrequency(69), 440.0f);
    EXPECT_EQ(noteFrequency(57), 220.0f);
    EXPECT_NEAR(noteFrequency(12), 16.3516, 1e-4);
    for (int note = 0; note < 12; ++note) EXPECT_EQ(noteFrequency(note), noteFrequency(12)) << "note " << note;
    EXPECT_NEAR(noteFrequency(127), 12543.85, 0.01);
}

TEST(Midi, EventsSetTargetCountAndEnvelope) {
    struct Step {
        unsigned char status, data1, data2;
        float targetFreq;
        VstInt32 notesHeld, envState;
    };
    // One sequence, each message checked after it is applied.
    const Step steps[] = {
        {0x90, 69, 100, 440.0f, 1, esAttack},       // note on starts the attack
        {0x9F, 81, 1, 880.0f, 2, esAttack},         // any channel; a second note only moves the pitch
        {0x80, 33, 0, 880.0f, 1, esAttack},         // any note-off counts
        {0x93, 60, 0, 880.0f, 0, esRelease},        // velocity 0 is a note-off
        {0xB0, 123, 0, 880.0f, 0, esRelease},       // other controllers are ignored
        {0xE0, 0, 127, 880.0f, 0, esRelease},       // and pitch bend
        {0x80, 60, 0, 880.0f, -1, esRelease},       // the count goes below 0
        {0x90, 57, 100, 220.0f, 0, esRelease},      // so a note-on raises it only to 0
        {0xB5, 126, 77, 220.0f, 0, esRelease},      // controller 126 resets the count
        {0x90, 0x80 | 69, 100, 440.0f, 1, esAttack},  // the note number's top bit is ignored
    };
    EngineTestPlugin plugin;
    for (const Step& step : steps) {
        plugin.fPhase.set(5.0f);
        EXPECT_EQ(plugin.midi(step.status, step.data1, step.data2), 1);
        EXPECT_EQ(plugin.fTargetFreq.get(), step.targetFreq) << std::hex << int{step.status} << " " << int{step.data1};
        EXPECT_EQ(plugin.fNotesHeld.get(), step.notesHeld) << std::hex << int{step.status} << " " << int{step.data1};
        EXPECT_EQ(plugin.fEnvState.get(), step.envState) << std::hex << int{step.status} << " " << int{step.data1};
        const bool noteOn = (step.status & 0xF0) == 0x90 && step.data2 != 0;
        EXPECT_EQ(plugin.fPhase.get(), noteOn ? 0.0f : 5.0f);
    }

    // Controller 126 also releases an idle voice; a note-off leaves it idle.
    EngineTestPlugin idle;
    idle.midi(0x80, 60, 0);
    EXPECT_EQ(idle.fEnvState.get(), esIdle);
    idle.midi(0xB0, 126, 0);
    EXPECT_EQ(idle.fEnvState.get(), esRelease);
    EXPECT_EQ(idle.fNotesHeld.get(), 0);

    // Other event types and empty lists change nothing; a null list is refused.
    EngineTestPlugin other;
    VstEvent sysex{};
    sysex.type = kVstSysExType;
    VstEvents list{};
    list.numEvents = 1;
    list.events[0] = &sysex;
    EXPECT_EQ(other.processEvents(&list), 1);
    list.numEvents = 0;
    EXPECT_EQ(other.processEvents(&list), 1);
    list.numEvents = -3;
    EXPECT_EQ(other.processEvents(&list), 1);
    EXPECT_EQ(other.processEvents(nullptr), 0);
    EXPECT_EQ(other.fNotesHeld.get(), 0);
    EXPECT_EQ(other.fEnvState.get(), esIdle);
}

// The frequency steps by (0.0001 + 0.3 x glide) per frame, 0.2701 Hz with
// the default glide, passes 440 Hz on frame 1630 and then alternates around
// it; the glide runs whether the voice sounds or not.
TEST(Glide, StepsTowardsTheTargetAndAlternatesAroundIt) {
    EngineTestPlugin plugin;
    plugin.midi(0x90, 69, 100);
    run(plugin, 1);
    EXPECT_EQ(plugin.fFreq.get(), static_cast<float>(0.0001 + 0.3 * static_cast<double>(0.9f)));
    run(plugin, 1628);
    EXPECT_LT(plugin.fFreq.get(), 440.0f);
    run(plugin, 1);
    const float above = plugin.fFreq.get();
    EXPECT_NEAR(above, 440.2693, 1e-3);
    run(plugin, 1);
    EXPECT_LT(plugin.fFreq.get(), 440.0f);
    run(plugin, 1);
    EXPECT_EQ(plugin.fFreq.get(), above);

    plugin.midi(0xB0, 126, 0);
    run(plugin, 20000);  // released and idle
    EXPECT_EQ(plugin.fEnvState.get(), esIdle);
    plugin.midi(0x90, 81, 100);
    plugin.midi(0x80, 81, 0);  // the release ends at once, the glide goes on
    run(plugin, 100);
    EXPECT_NEAR(plugin.fFreq.get(), 440.0 + 100 * 0.2701, 0.3);

    // With glide 0 a frequency of 2048 Hz or more cannot rise: 0.0001 is less
    // than half the spacing of floats there.
    plugin.setParameter(kGlide, 0.0f);
    plugin.midi(0x90, 127, 100);
    for (float start : {2048.0f, 5000.0f}) {
        plugin.fFreq.set(start);
        run(plugin, 10);
        EXPECT_EQ(plugin.fFreq.get(), start);
    }
    plugin.fFreq.set(1000.0f);
    run(plugin, 1);
    EXPECT_GT(plugin.fFreq.get(), 1000.0f);
}

TEST(Envelope, RampsAndTheirEdgeValues) {
    // Attack 1: 1.0000535 on frame 10000, then held at 1.
    EngineTestPlugin plugin;
    plugin.setParameter(kAttack, 1.0f);
    plugin.midi(0x90, 60, 100);
    run(plugin, 9999);
    EXPECT_LT(plugin.fEnvLevel.get(), 1.0f);
    run(plugin, 1);
    EXPECT_EQ(plugin.fEnvLevel.get(), 1.0000535f);
    EXPECT_EQ(plugin.fEnvState.get(), esSustain);
    run(plugin, 1);
    EXPECT_EQ(plugin.fEnvLevel.get(), 1.0f);

    // Release 0: 1 - 0 + 1e-24 rounds back to 1, the voice keeps sounding;
    // raising the release resumes the fall.
    plugin.setParameter(kRelease, 0.0f);
    plugin.midi(0x80, 60, 0);
    run(plugin, 1000);
    EXPECT_EQ(plugin.fEnvLevel.get(), 1.0f);
    EXPECT_EQ(plugin.fVoiceOn.get(), 1);
    plugin.setParameter(kRelease, 1.0f);
    run(plugin, 10100);
    EXPECT_EQ(plugin.fEnvState.get(), esIdle);
    EXPECT_EQ(plugin.fEnvLevel.get(), 0.0f);
    EXPECT_EQ(plugin.fVoiceOn.get(), 0);

    // Attack 0: only the bias is added, the note stays inaudible.
    EngineTestPlugin silent;
    silent.setParameter(kAttack, 0.0f);
    silent.midi(0x90, 60, 100);
    run(silent, 1000);
    EXPECT_EQ(silent.fEnvState.get(), esAttack);
    EXPECT_LT(silent.fEnvLevel.get(), 1e-20f);
    EXPECT_GT(silent.fEnvLevel.get(), 0.0f);

    // Controller 126 while idle with release 0: the level stays at 1e-24,
    // above 0, so the voice stays on with a near-silent sample.
    EngineTestPlugin idle;
    idle.setParameter(kRelease, 0.0f);
    idle.midi(0xB0, 126, 0);
    run(idle, 1);
    EXPECT_EQ(idle.fEnvState.get(), esRelease);
    EXPECT_EQ(idle.fEnvLevel.get(), static_cast<float>(1e-24));
    EXPECT_EQ(idle.fVoiceOn.get(), 1);
    run(idle, 999);
    EXPECT_EQ(idle.fVoiceOn.get(), 1);
    EXPECT_LT(idle.fEnvLevel.get(), 1e-20f);
}

// The wrap subtracts the period while the phase is at or past it; where that
// runs a few times the result is exactly the loop's, beyond that the
// remainder, and with no sensible period 0.
TEST(PhaseWrap, EndsForEveryPeriod) {
    auto loop = [](float phase, float period) {
        while (phase >= period) phase = static_cast<float>(static_cast<double>(phase) - period);
        return phase;
    };
    struct Case {
        float phase, period;
    } exact[] = {{1.0f, 100.0f}, {100.0f, 100.0f}, {100.5f, 100.25f}, {201.0f, 100.0f}, {5.0f, 1.3f},
                 {4.0f, 1.0f},   {3.7f, 0.9f},     {0.0f, 3.5f},      {1.0f, 0.3f}};
    for (const Case& c : exact) EXPECT_EQ(wrapPhase(c.phase, c.period), loop(c.phase, c.period)) << c.phase << " " << c.period;

    struct Far {
        float phase, period;
    } far[] = {{1.0f, 1.0f / 440.0f}, {1.0f, 1e-30f}, {16777216.0f, 0.001f}, {1000.0f, 0.7f}};
    for (const Far& c : far) {
        const float wrapped = wrapPhase(c.phase, c.period);
        EXPECT_GE(wrapped, 0.0f) << c.phase << " " << c.period;
        EXPECT_LT(wrapped, c.period) << c.phase << " " << c.period;
        EXPECT_NEAR(wrapped, std::fmod(static_cast<double>(c.phase), c.period), 1e-4) << c.phase << " " << c.period;
    }

    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    for (float period : {0.0f, -0.0f, -1.0f, -inf}) EXPECT_EQ(wrapPhase(1.0f, period), 0.0f) << period;
    EXPECT_EQ(wrapPhase(1.0f, nan), 1.0f);
    EXPECT_EQ(wrapPhase(1.0f, inf), 1.0f);
}

// The morph counter stops at the length, also at the top of its range (the
// length saturates one below INT32_MAX), so it never overflows.
TEST(Morph, CounterStopsAtTheLength) {
    for (bool perFrame : {false, true}) {
        EngineTestPlugin plugin;
        plugin.takeMorphRequest();
        plugin.fMorphLen.set(INT32_MAX - 1);
        plugin.fMorphPos = INT32_MAX - 4;
        for (int k = 0; k < kNumVowels; ++k) plugin.fGainTo[k] = k == 2 ? 1.0f : 0.0f;
        for (int frame = 0; frame < 10; ++frame) {
            if (perFrame) {
                float left = 0.0f, right = 0.0f;
                plugin.processSample(left, right);
            } else {
                run(plugin, 1);
            }
            EXPECT_LE(plugin.fMorphPos, INT32_MAX - 1);
        }
        EXPECT_EQ(plugin.fMorphPos, INT32_MAX - 1);
        EXPECT_EQ(plugin.fGain[2], 1.0f);
    }
}

}  // namespace
