#include <cstring>

#include "guarded_buffer.h"
#include "host_fixture.h"

namespace {

TEST(Identity, RecordAfterMain) {
    auto plugin = openInstance();
    const AEffect& e = *plugin->effect();
    EXPECT_EQ(e.magic, fourCharCode('V', 's', 't', 'P'));
    EXPECT_EQ(e.numPrograms, 8);
    EXPECT_EQ(e.numParams, 8);
    EXPECT_EQ(e.numInputs, 2);
    EXPECT_EQ(e.numOutputs, 2);
    EXPECT_EQ(e.flags, kExpectedFlags);
    EXPECT_EQ(e.resvd1, 0);
    EXPECT_EQ(e.resvd2, 0);
    EXPECT_EQ(e.initialDelay, 0);
    EXPECT_EQ(e.realQualities, 0);
    EXPECT_EQ(e.offQualities, 0);
    EXPECT_EQ(e.ioRatio, 1.0f);
    EXPECT_NE(e.object, nullptr);
    EXPECT_EQ(e.uniqueID, ('Q' << 24) | ('R' << 16) | ('K' << 8) | 'X');
    EXPECT_EQ(e.version, 1);
    EXPECT_NE(e.dispatcher, nullptr);
    EXPECT_NE(e.process, nullptr);
    EXPECT_NE(e.processReplacing, nullptr);
    EXPECT_NE(e.setParameter, nullptr);
    EXPECT_NE(e.getParameter, nullptr);
    EXPECT_EQ(e.processDoubleReplacing, nullptr);
    for (char c : e.future) EXPECT_EQ(c, 0);
    EXPECT_EQ(plugin->dispatch(effGetProgram), 0);
}

TEST(Identity, MainAsksHostVersionWithNullEffectAndZeros) {
    auto plugin = openInstance();
    const auto requests = plugin->requests();
    ASSERT_FALSE(requests.empty());
    const host::HostRequest& first = requests.front();
    EXPECT_EQ(first.opcode, audioMasterVersion);
    EXPECT_TRUE(first.nullEffect);
    EXPECT_EQ(first.index, 0);
    EXPECT_EQ(first.value, 0);
    EXPECT_TRUE(first.nullPtr);
    EXPECT_EQ(first.opt, 0.0f);
    EXPECT_EQ(requests.size(), 1u) << "creation and effOpen send nothing else";
}

TEST(Identity, HostAnsweringVersionZeroGetsNothing) {
    host::HostOptions options;
    options.version = 0;
    host::PluginInstance plugin(pluginLibrary(), options);
    EXPECT_EQ(plugin.effect(), nullptr);
    EXPECT_EQ(plugin.requests().size(), 1u);
}

TEST(Identity, NamesVendorAndVersion) {
    auto plugin = openInstance();
    struct Case {
        VstInt32 opcode;
        const char* text;
    } cases[] = {{effGetEffectName, "Kessaron"}, {effGetVendorString, "Mirtlegg"}, {effGetProductString, "Kessaron"}};
    for (const Case& c : cases) {
        host::GuardedBuffer buffer(64);
        EXPECT_EQ(plugin->dispatch(c.opcode, 0, 0, buffer.data()), 1);
        EXPECT_STREQ(buffer.data(), c.text);
        EXPECT_TRUE(buffer.intact());
    }
    EXPECT_EQ(plugin->dispatch(effGetVendorVersion), 1);
}

TEST(Identity, CanDoAnswersYesOrNoNeverDontKnow) {
    auto plugin = openInstance();
    struct Case {
        const char* text;
        VstIntPtr answer;
    } cases[] = {
        {"receiveVstEvents", 1},   {"receiveVstMidiEvent", 1},  {"ReceiveVstEvents", -1},
        {"receiveVstEventsX", -1}, {"receiveVstMidiEvents", -1}, {"sendVstEvents", -1},
        {"bypass", -1},            {"", -1},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(plugin->dispatch(effCanDo, 0, 0, text.data()), c.answer) << '"' << c.text << '"';
    }
}

TEST(Identity, OutputPins) {
    auto plugin = openInstance();
    for (VstInt32 index : {0, 1}) {
        VstPinProperties pin;
        std::memset(&pin, 0x5A, sizeof pin);
        EXPECT_EQ(plugin->dispatch(effGetOutputProperties, index, 0, &pin), 1);
        EXPECT_STREQ(pin.label, index == 0 ? "QRKX 1" : "QRKX 2");
        EXPECT_EQ(pin.flags, kVstPinIsActive | kVstPinIsStereo);
        // Everything else is left as the host passed it.
        const auto* bytes = reinterpret_cast<const unsigned char*>(&pin);
        for (std::size_t i = std::strlen(pin.label) + 1; i < sizeof pin.label; ++i) EXPECT_EQ(bytes[i], 0x5A);
        for (std::size_t i = offsetof(VstPinProperties, arrangementType); i < sizeof pin; ++i)
            EXPECT_EQ(bytes[i], 0x5A);
    }
    // Pins 2 and up, and negative indices, answer false and write nothing.
    for (VstInt32 index : {2, 3, -1, INT32_MIN}) {
        VstPinProperties pin;
        std::memset(&pin, 0x5A, sizeof pin);
        EXPECT_EQ(plugin->dispatch(effGetOutputProperties, index, 0, &pin), 0) << "pin " << index;
        const auto* bytes = reinterpret_cast<const unsigned char*>(&pin);
        for (std::size_t i = 0; i < sizeof pin; ++i) ASSERT_EQ(bytes[i], 0x5A);
    }
    VstPinProperties pin;
    EXPECT_EQ(plugin->dispatch(effGetInputProperties, 0, 0, &pin), 0);
}

TEST(Identity, VuIsAlwaysZero) {
    auto plugin = openInstance();
    EXPECT_EQ(plugin->dispatch(effGetVu), 0);
    EXPECT_EQ(plugin->dispatch(effGetVu), 0);
}

TEST(Identity, EveryResumeAsksForMidi) {
    auto plugin = openInstance();
    plugin->clearRequests();
    plugin->dispatch(effMainsChanged, 0, 1);
    plugin->dispatch(effMainsChanged, 0, 0);
    plugin->dispatch(effMainsChanged, 0, 1);
    const auto requests = plugin->requests();
    ASSERT_EQ(requests.size(), 2u);
    for (const auto& request : requests) {
        EXPECT_EQ(request.opcode, audioMasterWantMidi);
        EXPECT_FALSE(request.nullEffect);
        EXPECT_EQ(request.index, 0);
        EXPECT_EQ(request.value, 1);
    }
}

TEST(Identity, InstancesAreIndependentAndCloseAnswersOne) {
    auto first = openInstance();
    auto second = openInstance();
    first->setParameter(kVolume, 0.75f);
    first->dispatch(effSetProgram, 0, 3);
    EXPECT_EQ(second->getParameter(kVolume), 1.0f / 3.0f);
    EXPECT_EQ(second->dispatch(effGetProgram), 0);
    EXPECT_EQ(first->close(), 1);
    EXPECT_EQ(second->close(), 1);
}

TEST(Identity, ManyInstancesOpenAndClose) {
    for (int round = 0; round < 50; ++round) {
        auto plugin = openInstance();
        plugin->dispatch(effMainsChanged, 0, 1);
        plugin->dispatch(effMainsChanged, 0, 0);
        ASSERT_EQ(plugin->close(), 1);
    }
}

}  // namespace
