#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include "test_plugin.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

std::string programName(TestPlugin& plugin) {
    char text[64] = {};
    plugin.getProgramName(text);
    return text;
}

TEST(Parameters, NewInstanceHoldsProgramZeroDefaults) {
    TestPlugin plugin;
    const float expected[kNumParams] = {0.0f, 0.9f, 0.9f, 0.3f, 0.9f, 0.0f, 0.0f, 1.0f / 3.0f};
    for (VstInt32 i = 0; i < kNumParams; ++i) EXPECT_EQ(plugin.getParameter(i), expected[i]) << "parameter " << i;
    EXPECT_EQ(plugin.getProgram(), 0);
    EXPECT_EQ(plugin.fMorphLen.get(), 52920);
    for (VstInt32 p = 0; p < kNumPrograms; ++p) {
        char text[64] = {};
        ASSERT_TRUE(plugin.getProgramNameIndexed(0, p, text));
        EXPECT_EQ(std::string(text), "Init Preset 0" + std::to_string(p + 1));
    }
    // The fade-in towards vowel a starts from silence.
    plugin.takeMorphRequest();
    EXPECT_EQ(plugin.fMorphPos, 0);
    for (int k = 0; k < kNumVowels; ++k) {
        EXPECT_EQ(plugin.fGainFrom[k], 0.0f);
        EXPECT_EQ(plugin.fGainTo[k], k == 0 ? 1.0f : 0.0f);
    }
}

TEST(Parameters, SetterClampsIntoZeroToOne) {
    struct Case {
        float given, stored;
    } cases[] = {{1.5f, 1.0f}, {-0.2f, 0.0f}, {kNaN, 0.0f}, {kInf, 1.0f}, {-kInf, 0.0f},
                 {0.5f, 0.5f}, {1.0f, 1.0f},  {0.0f, 0.0f}, {1.0000001f, 1.0f}};
    for (const Case& c : cases) {
        TestPlugin plugin;
        for (VstInt32 i = 0; i < kNumParams; ++i) {
            plugin.setParameter(i, c.given);
            EXPECT_EQ(plugin.getParameter(i), c.stored) << "parameter " << i << " given " << c.given;
            EXPECT_EQ(plugin.fPrograms[0]->value(i)->get(), c.stored);
        }
    }
    // -0.0 passes the clamp and is stored as given.
    TestPlugin plugin;
    plugin.setParameter(kDryWet, -0.0f);
    EXPECT_TRUE(std::signbit(plugin.getParameter(kDryWet)));
}

TEST(Parameters, VowelValueSelectsVowelAndRestartsMorph) {
    struct Case {
        float value;
        int vowel;
    } cases[] = {{0.0f, 0}, {0.1f, 1},  {0.2f, 2},  {0.3f, 3}, {0.4f, 4},
                 {0.5f, 0}, {1.0f, 0},  {0.25f, 2}, {0.75f, 3},
                 // 0.35f x 10 is 3.49999994 exactly (o); a float product would round to 3.5 and pick u
                 {0.35f, 3}};
    for (const Case& c : cases) {
        TestPlugin plugin;
        plugin.takeMorphRequest();
        plugin.fMorphPos = 777;
        const float blend[kNumVowels] = {0.25f, 0.5f, 0.0f, 0.125f, 0.125f};
        for (int k = 0; k < kNumVowels; ++k) plugin.fGain[k] = blend[k];

        plugin.setParameter(kVowel, c.value);
        EXPECT_EQ(plugin.getParameter(kVowel), c.value) << "the stored value, not the vowel number";
        plugin.takeMorphRequest();
        EXPECT_EQ(plugin.fMorphPos, 0);
        for (int k = 0; k < kNumVowels; ++k) {
            EXPECT_EQ(plugin.fGainFrom[k], blend[k]);
            EXPECT_EQ(plugin.fGainTo[k], k == c.vowel ? 1.0f : 0.0f) << "value " << c.value << " vowel " << k;
        }
    }
}

TEST(Parameters, MorphTimeSetsLengthFromSampleRate) {
    struct Case {
        float rate, value;
        VstInt32 frames;
    } cases[] = {
        {44100.0f, 0.3f, 52920},
        {48000.0f, 1.0f, 192000},
        {44100.0f, 0.0f, 0},
        {1.0f, 0.125f, 0},  // 0.5 frames rounds to even
        {1.0f, 0.375f, 2},  // 1.5 frames rounds to even
        {-44100.0f, 1.0f, -176400},
        {1e30f, 1.0f, INT32_MAX - 1},  // saturates instead of overflowing
        {-1e30f, 1.0f, INT32_MIN},
        {kNaN, 1.0f, 0},
        {kInf, 1.0f, INT32_MAX - 1},
    };
    for (const Case& c : cases) {
        TestPlugin plugin;
        plugin.sampleRate.set(c.rate);
        plugin.setParameter(kMorphTime, c.value);
        EXPECT_EQ(plugin.fMorphLen.get(), c.frames) << "rate " << c.rate << " value " << c.value;
    }
}

TEST(Parameters, MorphTimeHoldsRunningMorphAtItsBlend) {
    TestPlugin plugin;
    plugin.takeMorphRequest();
    plugin.fMorphPos = 100;
    const float blend[kNumVowels] = {0.5f, 0.25f, 0.0f, 0.25f, 0.0f};
    for (int k = 0; k < kNumVowels; ++k) plugin.fGain[k] = blend[k];

    plugin.setParameter(kMorphTime, 0.5f);
    plugin.takeMorphRequest();
    EXPECT_EQ(plugin.fMorphPos, 100) << "the counter is left alone";
    EXPECT_EQ(plugin.fMorphLen.get(), 88200);
    for (int k = 0; k < kNumVowels; ++k) {
        EXPECT_EQ(plugin.fGainFrom[k], blend[k]);
        EXPECT_EQ(plugin.fGainTo[k], blend[k]);
    }
}

// Changes made between two blocks are served together and must compose like
// the setter's steps applied one after the other.
TEST(Parameters, ChangesServedTogetherComposeInOrder) {
    const float blend[kNumVowels] = {0.5f, 0.5f, 0.0f, 0.0f, 0.0f};
    auto prepared = [&](TestPlugin& plugin) {
        plugin.takeMorphRequest();
        plugin.fMorphPos = 50;
        for (int k = 0; k < kNumVowels; ++k) plugin.fGain[k] = blend[k];
    };
    {  // a program change: morph time, then vowel: a new morph towards the vowel
        TestPlugin plugin;
        prepared(plugin);
        plugin.setParameter(kMorphTime, 0.1f);
        plugin.setParameter(kVowel, 0.4f);
        plugin.takeMorphRequest();
        EXPECT_EQ(plugin.fMorphPos, 0);
        EXPECT_EQ(plugin.fGainTo[4], 1.0f);
        EXPECT_EQ(plugin.fGainFrom[1], 0.5f);
    }
    {  // vowel, then morph time: held at the blend, the counter restarted
        TestPlugin plugin;
        prepared(plugin);
        plugin.setParameter(kVowel, 0.4f);
        plugin.setParameter(kMorphTime, 0.1f);
        plugin.takeMorphRequest();
        EXPECT_EQ(plugin.fMorphPos, 0);
        for (int k = 0; k < kNumVowels; ++k) EXPECT_EQ(plugin.fGainTo[k], blend[k]);
    }
    {  // several vowels: the last one wins
        TestPlugin plugin;
        prepared(plugin);
        for (float v : {0.1f, 0.2f, 0.3f}) plugin.setParameter(kVowel, v);
        plugin.takeMorphRequest();
        for (int k = 0; k < kNumVowels; ++k) EXPECT_EQ(plugin.fGainTo[k], k == 3 ? 1.0f : 0.0f);
    }
    {  // nothing changed: nothing is touched
        TestPlugin plugin;
        prepared(plugin);
        plugin.takeMorphRequest();
        EXPECT_EQ(plugin.fMorphPos, 50);
    }
}

TEST(Programs, EachProgramKeepsItsOwnValues) {
    TestPlugin plugin;
    plugin.setProgram(2);
    plugin.setParameter(kGlide, 0.25f);
    plugin.setParameter(kVowel, 0.3f);
    plugin.setProgram(5);
    EXPECT_EQ(plugin.getProgram(), 5);
    EXPECT_EQ(plugin.getParameter(kGlide), 0.9f);
    plugin.setParameter(kGlide, 0.75f);
    plugin.setProgram(2);
    EXPECT_EQ(plugin.getParameter(kGlide), 0.25f);
    EXPECT_EQ(plugin.getParameter(kVowel), 0.3f);
    plugin.setProgram(5);
    EXPECT_EQ(plugin.getParameter(kGlide), 0.75f);
    EXPECT_EQ(plugin.fPrograms[0]->fGlide.get(), 0.9f) << "program 0 was never current while changed";
}

TEST(Programs, SelectionOutsideRangeChangesNothing) {
    TestPlugin plugin;
    plugin.setProgram(3);
    plugin.setParameter(kAttack, 0.5f);
    auto* counter = new CountingEditor(&plugin);
    plugin.setEditor(counter);
    for (VstInt32 program : {8, -1, INT32_MAX, INT32_MIN}) {
        plugin.setProgram(program);
        EXPECT_EQ(plugin.getProgram(), 3);
        EXPECT_EQ(plugin.getParameter(kAttack), 0.5f);
    }
    EXPECT_EQ(counter->updates, 0);
}

TEST(Programs, EditorIsRefreshedAfterEveryChange) {
    TestPlugin plugin;
    auto* counter = new CountingEditor(&plugin);
    plugin.setEditor(counter);

    plugin.setParameter(kVolume, 0.5f);
    plugin.setParameter(8, 0.5f);  // stores nothing, still refreshes
    EXPECT_EQ(counter->updates, 2);
    EXPECT_EQ(plugin.getParameter(8), 0.0f);

    counter->updates = 0;
    plugin.setProgram(1);
    EXPECT_EQ(counter->updates, 9) << "eight parameters and the program itself";
    char name[] = "Vox";
    plugin.setProgramName(name);
    EXPECT_EQ(counter->updates, 10);

    // While the editor window is closed, only the parameter setter refreshes.
    plugin.fEditorClosed.set(1);
    counter->updates = 0;
    plugin.setProgram(2);
    plugin.setProgramName(name);
    EXPECT_EQ(counter->updates, 8);
}

TEST(Programs, NamesAreStoredTruncatedAndTerminated) {
    TestPlugin plugin;
    plugin.setProgram(4);
    char shortName[] = "Choir";
    plugin.setProgramName(shortName);
    EXPECT_EQ(programName(plugin), "Choir");

    std::string longName(300, 'x');
    plugin.setProgramName(longName.data());
    EXPECT_EQ(programName(plugin), std::string(kProgramNameMax, 'x'));

    // A name of exactly the capacity without a terminating zero is read no further.
    char unterminated[kProgramNameMax];
    std::fill(std::begin(unterminated), std::end(unterminated), 'y');
    plugin.setProgramName(unterminated);
    EXPECT_EQ(programName(plugin), std::string(kProgramNameMax, 'y'));

    char text[64] = {};
    EXPECT_TRUE(plugin.getProgramNameIndexed(-1, 4, text));
    EXPECT_EQ(std::string(text), std::string(kProgramNameMax, 'y'));
    EXPECT_FALSE(plugin.getProgramNameIndexed(0, 8, text));
    EXPECT_FALSE(plugin.getProgramNameIndexed(0, -1, text));
}

TEST(Parameters, NamesLabelsAndDisplays) {
    TestPlugin plugin;
    struct Case {
        VstInt32 index;
        const char* name;
        const char* display;
    } cases[] = {
        {kWaveform, "waveform", "0.00"},    {kRelease, "release time", "0.90"}, {kGlide, "glide", "0.90"},
        {kMorphTime, "morph time", "0.30"}, {kAttack, "attack time", "0.90"},   {kVowel, "vowel", "0.00"},
        {kDryWet, "dry/wet", "0.00"},       {kVolume, "volume", "0.33"},        {8, "unknown", "0.00"},
        {-1, "unknown", "0.00"},
    };
    for (const Case& c : cases) {
        char text[32];
        plugin.getParameterName(c.index, text);
        EXPECT_STREQ(text, c.name);
        plugin.getParameterDisplay(c.index, text);
        EXPECT_STREQ(text, c.display) << c.name;
        plugin.getParameterLabel(c.index, text);
        EXPECT_STREQ(text, "%");
    }
}

TEST(Parameters, AutomatedSetterStoresClampedAndReportsAsGiven) {
    TestPlugin plugin;
    plugin.setParameterAutomated(kGlide, 1.5f);
    EXPECT_EQ(plugin.getParameter(kGlide), 1.0f);
    ASSERT_EQ(TestPlugin::sent().size(), 1u);
    const RecordedRequest& sent = TestPlugin::sent()[0];
    EXPECT_EQ(sent.opcode, audioMasterAutomate);
    EXPECT_EQ(sent.index, kGlide);
    EXPECT_EQ(sent.value, 0);
    EXPECT_EQ(sent.opt, 1.5f);
}

}  // namespace
