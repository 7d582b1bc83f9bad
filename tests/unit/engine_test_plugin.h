// TestPlugin with the sound engine's state and its per-frame definition open
// to the engine's unit tests.
#pragma once

#include "event_list.h"
#include "test_plugin.h"

class EngineTestPlugin : public TestPlugin {
public:
    using APlugin::fEnvLevel;
    using APlugin::fEnvState;
    using APlugin::fFilterMem;
    using APlugin::fFreq;
    using APlugin::fNotesHeld;
    using APlugin::fPhase;
    using APlugin::fTargetFreq;
    using APlugin::fVoiceOn;
    using APlugin::formantFilter;
    using APlugin::processSample;

    // The host's rate request: stores the rate and nothing else.
    void setRate(float rate) { setSampleRate(rate); }

    // One MIDI message in a list of one, as a host sends it.
    VstInt32 midi(unsigned char status, unsigned char data1, unsigned char data2) {
        host::EventList list({{status, data1, data2}});
        return processEvents(list.get());
    }
};
