#include <cstdint>

#include "host_fixture.h"

namespace {

// Requests the framework answers by itself.
TEST(FrameworkAnswers, FixedAnswers) {
    auto plugin = openInstance();
    struct Case {
        VstInt32 opcode;
        VstIntPtr answer;
    } cases[] = {
        {effGetVstVersion, 2300},
        {effIdentify, ('N' << 24) | ('v' << 16) | ('E' << 8) | 'f'},
        {effGetPlugCategory, 0},
        {effCanBeAutomated, 1},
        {effGetNumProgramCategories, 1},
        {effKeysRequired, 1},
        {effConnectInput, 1},
        {effConnectOutput, 1},
        {effGetCurrentMidiProgram, -1},
        {effEditKeyDown, -1},
        {effEditKeyUp, -1},
        {effGetTailSize, 0},
        {effGetChunk, 0},
        {effSetChunk, 0},
        {effString2Parameter, 0},
        {effSetBypass, 0},
        {effGetParameterProperties, 0},
        {effStartProcess, 0},
        {effStopProcess, 0},
        {effGetNumMidiInputChannels, 0},
        {effOpen, 0},
        {80, 0},
        {-1, 0},
        {255, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(plugin->dispatch(c.opcode, 0, 0, nullptr, 0.0f), c.answer) << "opcode " << c.opcode;
}

TEST(FrameworkAnswers, TotalSampleToProcessEchoesValue) {
    auto plugin = openInstance();
    EXPECT_EQ(plugin->dispatch(effSetTotalSampleToProcess, 0, 12345), 12345);
    EXPECT_EQ(plugin->dispatch(effSetTotalSampleToProcess, 0, -7), -7);
    if (sizeof(VstIntPtr) == 8) {
        const auto wide = static_cast<VstIntPtr>(static_cast<std::int64_t>(3) << 40);
        EXPECT_EQ(plugin->dispatch(effSetTotalSampleToProcess, 0, wide), wide);
    }
}

TEST(FrameworkAnswers, SampleRateAndBlockSizeRequests) {
    auto plugin = openInstance();
    EXPECT_EQ(plugin->dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f), 0);
    EXPECT_EQ(plugin->dispatch(effSetBlockSize, 0, 512), 0);
    EXPECT_EQ(plugin->dispatch(effSetBlockSizeAndSampleRate, 0, 256, nullptr, 96000.0f), 1);
}

}  // namespace
