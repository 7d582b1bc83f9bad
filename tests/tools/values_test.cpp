#include <gtest/gtest.h>

#include <cmath>

#include "errors.h"
#include "values.h"

namespace render {
namespace {

TEST(Times, AcceptedForms) {
    struct Case {
        const char* text;
        bool inSeconds;
        double seconds;
        std::int64_t frame;
    } cases[] = {
        {"1.5s", true, 1.5, 0}, {"250ms", true, 0.25, 0}, {".5s", true, 0.5, 0}, {"2.s", true, 2.0, 0},
        {"0s", true, 0.0, 0},   {"66150", false, 0, 66150}, {"0", false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const TimeSpec time = parseTime(c.text);
        EXPECT_EQ(time.inSeconds, c.inSeconds);
        EXPECT_DOUBLE_EQ(time.seconds, c.seconds);
        EXPECT_EQ(time.frame, c.frame);
    }
}

TEST(Times, RejectedForms) {
    for (const char* text : {"", "1.5", "-1s", "+1s", "1e3s", "1.5x", "s", "ms", " 1s", "1 s", "1.2.3s", "nans",
                             "infs", "0x10", "1,5s", "100000s", "99999999999999999"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(parseTime(text), UsageError);
    }
}

TEST(Times, SecondsBecomeTheNearestFrameAtTheRate) {
    EXPECT_EQ(parseTime("1.5s").frameAt(44100.0), 66150);
    EXPECT_EQ(parseTime("0.5s").frameAt(48000.0), 24000);
    EXPECT_EQ(parseTime("1ms").frameAt(44100.0), 44);       // 44.1
    EXPECT_EQ(parseTime("0.02s").frameAt(22050.0), 441);
    EXPECT_EQ(parseTime("66150").frameAt(96000.0), 66150);  // a position is not scaled
}

TEST(Settings, ListsAndErrors) {
    const auto settings = parseSettings("vowel=0.2, volume = 0.1,waveform=noise");
    ASSERT_EQ(settings.size(), 3u);
    EXPECT_EQ(settings[0].name, "vowel");
    EXPECT_EQ(settings[0].value, "0.2");
    EXPECT_EQ(settings[1].name, "volume");
    EXPECT_EQ(settings[1].value, "0.1");
    EXPECT_EQ(settings[2].value, "noise");
    for (const char* text : {"", "vowel", "vowel=", "=0.2", "vowel=0.2,", ",vowel=0.2", "vowel=0.2,,glide=1"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(parseSettings(text), UsageError);
    }
}

TEST(Settings, ProgramNumbers) {
    EXPECT_EQ(parseProgram("0", 8), 0);
    EXPECT_EQ(parseProgram("7", 8), 7);
    for (const char* text : {"8", "-1", "", "1.0", "x", "99999999999"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(parseProgram(text, 8), UsageError);
    }
}

const ParameterTable& table() {
    static const ParameterTable parameters({"waveform", "release time", "glide", "morph time", "attack time", "vowel",
                                            "dry/wet", "volume"});
    return parameters;
}

TEST(ParameterNames, ResolveByIndexNameWordOrUniquePrefix) {
    struct Case {
        const char* name;
        VstInt32 index;
    } cases[] = {
        {"0", 0},         {"7", 7},          {"waveform", 0}, {"wave", 0},         {"release", 1},
        {"release time", 1}, {"releasetime", 1}, {"RELEASE", 1}, {"morph", 3},     {"morph_time", 3},
        {"attack", 4},    {"vowel", 5},      {"vow", 5},      {"drywet", 6},       {"dry/wet", 6},
        {"dry", 6},       {"Dry-Wet", 6},    {"volume", 7},   {"vol", 7},          {"g", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(table().resolve(c.name), c.index);
    }
}

TEST(ParameterNames, UnknownAmbiguousOrOutOfRange) {
    struct Case {
        const char* name;
        const char* message;
    } cases[] = {
        {"vowl", "unknown parameter 'vowl'"}, {"v", "ambiguous parameter 'v': vowel, volume"},
        {"8", "out of range 0..7"},           {"", "unknown parameter ''"},
        {"-1", "unknown parameter '-1'"},     {"program", "unknown parameter 'program'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            table().resolve(c.name);
            ADD_FAILURE() << "no error";
        } catch (const UsageError& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        }
    }
}

TEST(ParameterValues, NumbersNamedValuesAndRange) {
    EXPECT_EQ(table().value(5, "0.25"), 0.25f);
    EXPECT_EQ(table().value(7, "1"), 1.0f);
    EXPECT_EQ(table().value(7, "0"), 0.0f);
    EXPECT_EQ(table().value(5, "a"), 0.0f);
    EXPECT_EQ(table().value(5, "E"), 0.1f);
    EXPECT_EQ(table().value(5, "u"), 0.4f);
    EXPECT_EQ(table().value(0, "square"), 0.4f);
    EXPECT_EQ(table().value(0, "noise"), 0.8f);
    // Vowel letters mean something only for the vowel.
    EXPECT_THROW(table().value(7, "a"), UsageError);
    EXPECT_THROW(table().value(5, "noise"), UsageError);
    for (const char* text : {"1.5", "-0.2", "1.0000001", "nan", "inf", "0.5x", "", " 0.5", "0x1p-1x"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(table().value(7, text), UsageError);
    }
}

}  // namespace
}  // namespace render
