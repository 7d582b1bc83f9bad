#include <climits>
#include <cstdint>
#include <cstring>
#include <limits>

#include "guarded_buffer.h"
#include "host_fixture.h"

namespace {

// Every request that takes a buffer or record in ptr, given none: answers 0
// and writes nothing (and does not crash).
TEST(BadInput, NullPointerRequestsAnswerZero) {
    auto plugin = openInstance();
    const VstInt32 opcodes[] = {effSetProgramName,  effGetProgramName,   effGetParamLabel,      effGetParamDisplay,
                                effGetParamName,    effEditGetRect,      effProcessEvents,      effGetProgramNameIndexed,
                                effGetInputProperties, effGetOutputProperties, effGetEffectName, effGetVendorString,
                                effGetProductString, effCanDo,            effGetChunk,           effSetChunk,
                                effString2Parameter, effGetParameterProperties, effGetMidiKeyName};
    for (VstInt32 opcode : opcodes)
        for (VstInt32 index : {0, 1, -1})
            EXPECT_EQ(plugin->dispatch(opcode, index, 0, nullptr), 0) << "opcode " << opcode << " index " << index;
    EXPECT_EQ(plugin->text(effGetProgramName), "Init Preset 01");
}

// Texts stay within the sizes the interface tells hosts to provide, where the
// plug-in's own texts allow it.
TEST(BadInput, TextsFitTheInterfaceSizes) {
    auto plugin = openInstance();
    for (int step = 0; step <= 1000; ++step) {
        plugin->setParameter(kVolume, static_cast<float>(step) / 1000.0f);
        EXPECT_LE(plugin->text(effGetParamDisplay, kVolume, 0, kVstMaxParamStrLen).size(), 4u);
    }
    EXPECT_EQ(plugin->text(effGetParamLabel, 3, 0, kVstMaxParamStrLen), "%");
    EXPECT_EQ(plugin->text(effGetEffectName, 0, 0, kVstMaxEffectNameLen), "Kessaron");
    EXPECT_EQ(plugin->text(effGetVendorString, 0, 0, kVstMaxVendorStrLen), "Mirtlegg");
    EXPECT_EQ(plugin->text(effGetProductString, 0, 0, kVstMaxProductStrLen), "Kessaron");
    for (VstInt32 p = 0; p < kProgramCount; ++p)
        EXPECT_FALSE(plugin->text(effGetProgramNameIndexed, p, 0, kVstMaxProgNameLen).empty());
}

// Every opcode, sensible or not, with odd arguments: no crash, nothing written
// outside the buffer handed over (the sanitizer build checks every access).
TEST(BadInput, EveryOpcodeWithOddArguments) {
    auto plugin = openInstance();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const VstIntPtr wide = sizeof(VstIntPtr) == 8 ? static_cast<VstIntPtr>(static_cast<std::int64_t>(1) << 40) : INT_MAX;
    struct Arguments {
        VstInt32 index;
        VstIntPtr value;
        float opt;
    } arguments[] = {
        {0, 0, 0.0f},           {-1, -1, nan},   {INT32_MIN, wide, inf}, {INT32_MAX, -wide, -inf},
        {8, 8, -0.0f},          {2, 1, 1e30f},   {1000, 3, -1.0f},
    };
    for (VstInt32 opcode = -1; opcode <= 255; ++opcode) {
        if (opcode == effClose) continue;
        for (const Arguments& a : arguments) {
            EXPECT_NO_THROW(plugin->dispatch(opcode, a.index, a.value, nullptr, a.opt));
            host::GuardedBuffer buffer(512);
            plugin->dispatch(opcode, a.index, a.value, buffer.data(), a.opt);
            ASSERT_TRUE(buffer.intact()) << "opcode " << opcode << " index " << a.index << " value " << a.value;
        }
    }
    // Still answering sanely, and closing cleanly.
    EXPECT_EQ(plugin->text(effGetEffectName), "Kessaron");
    for (VstInt32 i = 0; i < kParamCount; ++i) {
        const float value = plugin->getParameter(i);
        EXPECT_TRUE(value >= 0.0f && value <= 1.0f) << "parameter " << i;
    }
    EXPECT_EQ(plugin->close(), 1);
}

}  // namespace
