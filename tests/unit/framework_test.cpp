#include <gtest/gtest.h>

#include <climits>
#include <limits>

#include "test_plugin.h"
#include "vst/audioeffect.h"

namespace {

// A framework effect whose VU value a test sets and which keeps the last
// parameter value it was given.
class ProbeEffect : public AudioEffectX {
public:
    explicit ProbeEffect(audioMasterCallback host = nullptr) : AudioEffectX(host, 1, 1) {}
    float getVu() override { return vu; }
    void setParameter(VstInt32 /*index*/, float value) override { parameter = value; }
    float vu = 0.0f;
    float parameter = 0.0f;
};

TEST(Framework, VuIsScaledRoundedAndSaturated) {
    ProbeEffect effect;
    struct Case {
        float vu;
        VstIntPtr answer;
    } cases[] = {
        {0.0f, 0},
        {1.0f, 32767},
        {0.5f, 16384},  // 16383.5 rounds to even
        {std::numeric_limits<float>::quiet_NaN(), 0},
        {1e30f, INT32_MAX},
        {-1e30f, INT32_MIN},
    };
    for (const Case& c : cases) {
        effect.vu = c.vu;
        EXPECT_EQ(effect.dispatcher(effGetVu, 0, 0, nullptr, 0.0f), c.answer) << "vu " << c.vu;
    }
}

TEST(Framework, AutomationWithoutHostCallbackStillSets) {
    ProbeEffect effect;  // no host callback: nothing to tell, nothing to crash on
    effect.setParameterAutomated(0, 0.5f);
    EXPECT_EQ(effect.parameter, 0.5f);
    effect.wantEvents(1);
}

TEST(Framework, EditorFlagFollowsSetEditor) {
    ProbeEffect effect;
    EXPECT_EQ(effect.getAeffect()->flags & effFlagsHasEditor, 0);
    auto* counter = new CountingEditor(&effect);
    effect.setEditor(counter);
    EXPECT_EQ(effect.getAeffect()->flags & effFlagsHasEditor, effFlagsHasEditor);
    // The base editor serves a posted update at the next idle call, once.
    counter->postUpdate();
    counter->idle();
    counter->idle();
    EXPECT_EQ(counter->updates, 1);
}

}  // namespace
