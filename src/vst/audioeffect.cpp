#include "vst/audioeffect.h"

#include <cmath>
#include <cstdint>
#include <cstring>

// ---- AEffEditor -------------------------------------------------------------

bool AEffEditor::getRect(ERect** rect) {
    *rect = nullptr;
    return false;
}

bool AEffEditor::open(void* parentWindow) {
    systemWindow = parentWindow;
    return false;
}

void AEffEditor::close() { systemWindow = nullptr; }

void AEffEditor::idle() {
    if (updateFlag.get()) {
        updateFlag.set(false);
        update();
    }
}

// ---- The record's entries ---------------------------------------------------
// The host calls these plain functions through the record; each finds the
// instance through the record's object field.

namespace {

AudioEffect* instanceOf(AEffect* effect) {
    return effect ? static_cast<AudioEffect*>(effect->object) : nullptr;
}

VstIntPtr VSTCALLBACK dispatchEntry(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                    void* ptr, float opt) {
    AudioEffect* instance = instanceOf(effect);
    if (!instance) return 0;
    if (opcode == effClose) {
        instance->dispatcher(opcode, index, value, ptr, opt);
        delete instance;
        return 1;
    }
    return instance->dispatcher(opcode, index, value, ptr, opt);
}

void VSTCALLBACK processEntry(AEffect* effect, float** inputs, float** outputs, VstInt32 sampleFrames) {
    if (AudioEffect* instance = instanceOf(effect)) instance->process(inputs, outputs, sampleFrames);
}

void VSTCALLBACK processReplacingEntry(AEffect* effect, float** inputs, float** outputs, VstInt32 sampleFrames) {
    if (AudioEffect* instance = instanceOf(effect)) instance->processReplacing(inputs, outputs, sampleFrames);
}

void VSTCALLBACK setParameterEntry(AEffect* effect, VstInt32 index, float value) {
    if (AudioEffect* instance = instanceOf(effect)) instance->setParameter(index, value);
}

float VSTCALLBACK getParameterEntry(AEffect* effect, VstInt32 index) {
    AudioEffect* instance = instanceOf(effect);
    return instance ? instance->getParameter(index) : 0.0f;
}

// effGetVu answers the VU value scaled to 0..32767; a value outside the 32-bit
// range is saturated (and a NaN answers 0) instead of an undefined conversion.
VstIntPtr scaledVu(float vu) {
    const double scaled = std::nearbyint(static_cast<double>(vu) * 32767.0);
    if (std::isnan(scaled)) return 0;
    if (scaled <= -2147483648.0) return INT32_MIN;
    if (scaled >= 2147483647.0) return INT32_MAX;
    return static_cast<VstIntPtr>(scaled);
}

}  // namespace

// ---- AudioEffect ------------------------------------------------------------

AudioEffect::AudioEffect(audioMasterCallback audioMasterCallbackArg, VstInt32 programs, VstInt32 params)
    : numPrograms(programs), numParams(params), audioMaster(audioMasterCallbackArg) {
    std::memset(&cEffect, 0, sizeof cEffect);
    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = dispatchEntry;
    cEffect.process = processEntry;
    cEffect.setParameter = setParameterEntry;
    cEffect.getParameter = getParameterEntry;
    cEffect.numPrograms = programs;
    cEffect.numParams = params;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.version = 1;
    cEffect.processReplacing = processReplacingEntry;
}

AudioEffect::~AudioEffect() {
    delete editor;
    editor = nullptr;
}

void AudioEffect::setParameterAutomated(VstInt32 index, float value) {
    setParameter(index, value);
    if (audioMaster) audioMaster(&cEffect, audioMasterAutomate, index, 0, nullptr, value);
}

void AudioEffect::setEditor(AEffEditor* newEditor) {
    // The framework owns its editor: one that is replaced is freed.
    if (editor != newEditor) delete editor;
    editor = newEditor;
    setFlag(effFlagsHasEditor, editor != nullptr);
}

void AudioEffect::setFlag(VstInt32 flag, bool state) noexcept {
    if (state)
        cEffect.flags |= flag;
    else
        cEffect.flags &= ~flag;
}

// ---- AudioEffectX -----------------------------------------------------------

void AudioEffectX::wantEvents(VstInt32 filter) {
    if (audioMaster) audioMaster(&cEffect, audioMasterWantMidi, 0, filter, nullptr, 0.0f);
}

// Every request the framework handles, and where it goes. Requests that take
// a buffer or record in ptr answer 0 and write nothing when ptr is null.
VstIntPtr AudioEffectX::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    char* text = static_cast<char*>(ptr);
    switch (opcode) {
        // Instance lifetime; dispatchEntry destroys the instance after effClose.
        case effOpen: open(); return 0;
        case effClose: close(); return 1;

        // Programs and parameters.
        case effSetProgram:
            // Compared at full width: a 64-bit value must not wrap into a valid index.
            if (value >= 0 && value < numPrograms) setProgram(static_cast<VstInt32>(value));
            return 0;
        case effGetProgram: return getProgram();
        case effSetProgramName: if (text) setProgramName(text); return 0;
        case effGetProgramName: if (text) getProgramName(text); return 0;
        case effGetParamLabel: if (text) getParameterLabel(index, text); return 0;
        case effGetParamDisplay: if (text) getParameterDisplay(index, text); return 0;
        case effGetParamName: if (text) getParameterName(index, text); return 0;
        case effGetProgramNameIndexed:
            return text && getProgramNameIndexed(static_cast<VstInt32>(value), index, text) ? 1 : 0;

        // Audio set-up.
        case effGetVu: return scaledVu(getVu());
        case effSetSampleRate: setSampleRate(opt); return 0;
        case effSetBlockSize: setBlockSize(static_cast<VstInt32>(value)); return 0;
        case effSetBlockSizeAndSampleRate:
            setBlockSize(static_cast<VstInt32>(value));
            setSampleRate(opt);
            return 1;
        case effMainsChanged:
            if (value)
                resume();
            else
                suspend();
            return 0;
        case effProcessEvents: return ptr ? processEvents(static_cast<VstEvents*>(ptr)) : 0;

        // Editor.
        case effEditGetRect: return editor && ptr && editor->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
        case effEditOpen: return editor && editor->open(ptr) ? 1 : 0;
        case effEditClose: if (editor) editor->close(); return 0;
        case effEditIdle:
            if (editor) {
                editor->idle();
                editor->serviceWindow();
            }
            return 0;

        // Identity and capabilities.
        case effIdentify: return fourCharCode('N', 'v', 'E', 'f');
        case effGetEffectName: return text && getEffectName(text) ? 1 : 0;
        case effGetVendorString: return text && getVendorString(text) ? 1 : 0;
        case effGetProductString: return text && getProductString(text) ? 1 : 0;
        case effGetVendorVersion: return getVendorVersion();
        case effCanDo: return text ? canDo(text) : 0;
        case effGetInputProperties:
            return ptr && getInputProperties(index, static_cast<VstPinProperties*>(ptr)) ? 1 : 0;
        case effGetOutputProperties:
            return ptr && getOutputProperties(index, static_cast<VstPinProperties*>(ptr)) ? 1 : 0;

        // The framework's own answers.
        case effGetVstVersion: return 2300;
        case effGetPlugCategory: return 0;
        case effCanBeAutomated:
        case effGetNumProgramCategories:
        case effKeysRequired:
        case effConnectInput:
        case effConnectOutput: return 1;
        case effSetTotalSampleToProcess: return value;
        case effGetCurrentMidiProgram:
        case effEditKeyDown:
        case effEditKeyUp: return -1;
        default: return 0;
    }
}
