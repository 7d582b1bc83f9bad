// APlugin with its fields open to in-process tests, created with a host
// callback that records what the plug-in sends.
#pragma once

#include <vector>

#include "plugin/plugin.h"

struct RecordedRequest {
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    float opt;
};

class TestPlugin : public APlugin {
public:
    TestPlugin() : APlugin(&TestPlugin::hostCallback) { sent().clear(); }

    // What the plug-in sent its host since the last TestPlugin was created.
    static std::vector<RecordedRequest>& sent() {
        static std::vector<RecordedRequest> requests;
        return requests;
    }

    using APlugin::curProgram;
    using APlugin::editor;
    using APlugin::fEditorClosed;
    using APlugin::fGain;
    using APlugin::fGainFrom;
    using APlugin::fGainTo;
    using APlugin::fMorphLen;
    using APlugin::fMorphPos;
    using APlugin::fPrograms;
    using APlugin::sampleRate;
    using APlugin::takeMorphRequest;

private:
    static VstIntPtr VSTCALLBACK hostCallback(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void*,
                                              float opt) {
        sent().push_back({opcode, index, value, opt});
        return opcode == audioMasterVersion ? 2400 : 0;
    }
};

// An editor object that counts the refreshes the plug-in asks for.
class CountingEditor : public AEffEditor {
public:
    using AEffEditor::AEffEditor;
    void update() override { ++updates; }
    int updates = 0;
};
