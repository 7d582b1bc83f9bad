// The plug-in framework: AudioEffect, AudioEffectX and AEffEditor map the VST 2
// record and its dispatcher onto virtual operations. A plug-in derives from
// AudioEffectX and overrides what it handles; every other request gets the
// framework's answer. AudioEffectX::dispatcher (audioeffect.cpp) is the one
// place that shows which request goes where.
#pragma once

#include "vst/aeffect.h"
#include "vst/shared_value.h"

class AudioEffect;

// The editor object the host drives through effEditGetRect, effEditOpen,
// effEditClose and effEditIdle. The framework owns it through AudioEffect.
class AEffEditor {
public:
    explicit AEffEditor(AudioEffect* owner) noexcept : effect(owner) {}
    virtual ~AEffEditor() = default;
    AEffEditor(const AEffEditor&) = delete;
    AEffEditor& operator=(const AEffEditor&) = delete;

    // Stores the address of the editor's rectangle at *rect; answers true.
    virtual bool getRect(ERect** rect);
    // Opens the editor window inside the host's window (HWND or X11 Window).
    virtual bool open(void* parentWindow);
    virtual void close();
    // Host idle call; serves a deferred update.
    virtual void idle();
    // Refreshes the editor from the plug-in's values.
    virtual void update() {}
    // Asks for an update at the next idle call.
    virtual void postUpdate() { updateFlag.set(true); }
    // Runs the native window's share of the host's idle call (on Linux the
    // window's events and timer), after idle().
    virtual void serviceWindow() {}

protected:
    AudioEffect* effect;
    void* systemWindow = nullptr;
    SharedValue<bool> updateFlag{false};
};

class AudioEffect {
public:
    AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams);
    // Destroys the editor object, if any.
    virtual ~AudioEffect();
    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;

    AEffect* getAeffect() noexcept { return &cEffect; }

    // ---- Requests from the host ------------------------------------------
    virtual VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) = 0;

    virtual void open() {}
    virtual void close() {}
    virtual void setProgram(VstInt32 program) { curProgram.set(program); }
    VstInt32 getProgram() const noexcept { return curProgram.get(); }
    virtual void setProgramName(char* /*name*/) {}
    virtual void getProgramName(char* name) { *name = 0; }
    virtual void getParameterLabel(VstInt32 /*index*/, char* label) { *label = 0; }
    virtual void getParameterDisplay(VstInt32 /*index*/, char* text) { *text = 0; }
    virtual void getParameterName(VstInt32 /*index*/, char* text) { *text = 0; }
    virtual float getVu() { return 0.0f; }
    virtual void setSampleRate(float rate) { sampleRate.set(rate); }
    virtual void setBlockSize(VstInt32 size) { blockSize.set(size); }
    virtual void suspend() {}
    virtual void resume() {}

    virtual void setParameter(VstInt32 /*index*/, float /*value*/) {}
    virtual float getParameter(VstInt32 /*index*/) { return 0.0f; }
    // Sets the parameter, then tells the host so it can record automation.
    void setParameterAutomated(VstInt32 index, float value);

    virtual void process(float** /*inputs*/, float** /*outputs*/, VstInt32 /*sampleFrames*/) {}
    virtual void processReplacing(float** /*inputs*/, float** /*outputs*/, VstInt32 /*sampleFrames*/) {}

    // ---- Set-up by the plug-in's constructor -----------------------------
    // Takes ownership of the editor and announces it in the record's flags.
    void setEditor(AEffEditor* newEditor);
    void setUniqueID(VstInt32 id) noexcept { cEffect.uniqueID = id; }
    void setNumInputs(VstInt32 inputs) noexcept { cEffect.numInputs = inputs; }
    void setNumOutputs(VstInt32 outputs) noexcept { cEffect.numOutputs = outputs; }
    void hasVu(bool state) noexcept { setFlag(effFlagsHasVu, state); }
    void canMono(bool state) noexcept { setFlag(effFlagsCanMono, state); }
    void canProcessReplacing(bool state) noexcept { setFlag(effFlagsCanReplacing, state); }

protected:
    void setFlag(VstInt32 flag, bool state) noexcept;

    AEffect cEffect;
    SharedValue<float> sampleRate{44100.0f};
    AEffEditor* editor = nullptr;
    VstInt32 numPrograms;
    VstInt32 numParams;
    SharedValue<VstInt32> blockSize{1024};
    SharedValue<VstInt32> curProgram{0};
    audioMasterCallback audioMaster;
};

class AudioEffectX : public AudioEffect {
public:
    using AudioEffect::AudioEffect;

    VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) override;

    // Applies a host's event list between two processing calls; answers 1 when handled.
    virtual VstInt32 processEvents(VstEvents* /*events*/) { return 0; }
    virtual bool getProgramNameIndexed(VstInt32 /*category*/, VstInt32 /*index*/, char* /*text*/) { return false; }
    virtual bool getInputProperties(VstInt32 /*index*/, VstPinProperties* /*properties*/) { return false; }
    virtual bool getOutputProperties(VstInt32 /*index*/, VstPinProperties* /*properties*/) { return false; }
    virtual bool getEffectName(char* /*name*/) { return false; }
    virtual bool getVendorString(char* /*text*/) { return false; }
    virtual bool getProductString(char* /*text*/) { return false; }
    virtual VstInt32 getVendorVersion() { return 0; }
    // 1: yes, -1: no, 0: don't know.
    virtual VstInt32 canDo(char* /*text*/) { return 0; }

    void isSynth(bool state) noexcept { setFlag(effFlagsIsSynth, state); }
    // Asks the host to send MIDI events.
    void wantEvents(VstInt32 filter = 1);
};
