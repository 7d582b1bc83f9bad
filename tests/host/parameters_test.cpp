#include <cmath>
#include <cstdint>
#include <limits>

#include "host_fixture.h"

namespace {

TEST(HostParameters, NamesDisplaysAndLabels) {
    auto plugin = openInstance();
    const char* names[kParamCount] = {"waveform",    "release time", "glide",   "morph time",
                                      "attack time", "vowel",        "dry/wet", "volume"};
    const char* displays[kParamCount] = {"0.00", "0.90", "0.90", "0.30", "0.90", "0.00", "0.00", "0.33"};
    for (VstInt32 i = 0; i < kParamCount; ++i) {
        EXPECT_EQ(plugin->text(effGetParamName, i), names[i]);
        EXPECT_EQ(plugin->text(effGetParamDisplay, i), displays[i]);
        EXPECT_EQ(plugin->text(effGetParamLabel, i), "%");
    }
    for (VstInt32 i : {8, -1, 1000}) {
        EXPECT_EQ(plugin->text(effGetParamName, i), "unknown");
        EXPECT_EQ(plugin->text(effGetParamDisplay, i), "0.00");
        EXPECT_EQ(plugin->text(effGetParamLabel, i), "%");
        EXPECT_EQ(plugin->getParameter(i), 0.0f);
    }
    // Names fit 13 bytes, displays of values in 0..1 five, the label two.
    EXPECT_EQ(plugin->text(effGetParamName, kRelease, 0, 13), "release time");
    plugin->setParameter(kVolume, 1.0f);
    EXPECT_EQ(plugin->text(effGetParamDisplay, kVolume, 0, 5), "1.00");
    plugin->setParameter(kVolume, 0.125f);
    EXPECT_EQ(plugin->text(effGetParamDisplay, kVolume, 0, 5), "0.13");
    EXPECT_EQ(plugin->text(effGetParamLabel, 0, 0, 2), "%");
}

TEST(HostParameters, SetAndGetWithClamp) {
    auto plugin = openInstance();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        float given, stored;
    } cases[] = {{0.25f, 0.25f}, {1.5f, 1.0f}, {-0.2f, 0.0f}, {nan, 0.0f}, {1.0f, 1.0f}};
    for (const Case& c : cases)
        for (VstInt32 i = 0; i < kParamCount; ++i) {
            plugin->setParameter(i, c.given);
            EXPECT_EQ(plugin->getParameter(i), c.stored);
        }
    plugin->setParameter(kVowel, 0.4f);
    EXPECT_EQ(plugin->getParameter(kVowel), 0.4f);
    plugin->setParameter(kDryWet, -0.0f);
    EXPECT_TRUE(std::signbit(plugin->getParameter(kDryWet)));
    EXPECT_EQ(plugin->text(effGetParamDisplay, kDryWet), "0.00");
}

TEST(HostParameters, ProgramsKeepValuesAndNames) {
    auto plugin = openInstance();
    for (VstInt32 p = 0; p < kProgramCount; ++p) {
        EXPECT_EQ(plugin->text(effGetProgramNameIndexed, p, -1), "Init Preset 0" + std::to_string(p + 1));
        EXPECT_EQ(plugin->dispatch(effGetProgramNameIndexed, p, 0, nullptr), 0);
    }
    EXPECT_EQ(plugin->text(effGetProgramName), "Init Preset 01");

    // Give every program its own values and name, then read all back the
    // way a host without chunk support saves a plug-in's state.
    for (VstInt32 p = 0; p < kProgramCount; ++p) {
        plugin->dispatch(effSetProgram, 0, p);
        for (VstInt32 i = 0; i < kParamCount; ++i) plugin->setParameter(i, static_cast<float>(p * 8 + i) / 64.0f);
        std::string name = "Program " + std::to_string(p);
        plugin->dispatch(effSetProgramName, 0, 0, name.data());
    }
    for (VstInt32 p = kProgramCount - 1; p >= 0; --p) {
        plugin->dispatch(effSetProgram, 0, p);
        EXPECT_EQ(plugin->dispatch(effGetProgram), p);
        EXPECT_EQ(plugin->text(effGetProgramName), "Program " + std::to_string(p));
        for (VstInt32 i = 0; i < kParamCount; ++i)
            EXPECT_EQ(plugin->getParameter(i), static_cast<float>(p * 8 + i) / 64.0f);
    }
    EXPECT_EQ(plugin->text(effGetProgramNameIndexed, 5, 0), "Program 5");
    EXPECT_EQ(plugin->dispatch(effGetProgramNameIndexed, 8, 0, nullptr), 0);
}

TEST(HostParameters, ProgramSelectionOutsideRangeIsIgnored) {
    auto plugin = openInstance();
    plugin->dispatch(effSetProgram, 0, 3);
    std::vector<VstIntPtr> values = {8, -1, 100, INT32_MIN, INT32_MAX};
    if (sizeof(VstIntPtr) == 8) {
        // Compared before narrowing: 2^32 + 2 must not select program 2.
        const auto wide = static_cast<VstIntPtr>(static_cast<std::int64_t>(1) << 32);
        values.push_back(wide);
        values.push_back(wide + 2);
        values.push_back(-wide + 2);
    }
    for (VstIntPtr value : values) {
        plugin->dispatch(effSetProgram, 0, value);
        EXPECT_EQ(plugin->dispatch(effGetProgram), 3) << "value " << value;
    }
}

TEST(HostParameters, LongProgramNameIsTruncated) {
    auto plugin = openInstance();
    std::string name(1000, 'n');
    plugin->dispatch(effSetProgramName, 0, 0, name.data());
    EXPECT_EQ(plugin->text(effGetProgramName), std::string(48, 'n'));
    EXPECT_EQ(plugin->text(effGetProgramName, 0, 0, 49), std::string(48, 'n'));
}

}  // namespace
