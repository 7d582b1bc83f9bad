// Parameters and programs: what the host and the editor read and change, and
// the hand-over of vowel and morph-time changes to the audio thread.

#include <climits>
#include <cmath>
#include <cstring>

#include "plugin/plugin.h"
#include "plugin/value_text.h"

namespace {

const char* const kParameterNames[kNumParams] = {
    "waveform", "release time", "glide", "morph time", "attack time", "vowel", "dry/wet", "volume",
};

// Program values are loaded in this order: the morph time holds a running
// morph before the vowel starts a new one from the present blend.
constexpr VstInt32 kProgramLoadOrder[kNumParams] = {
    kWaveform, kRelease, kGlide, kMorphTime, kVowel, kAttack, kDryWet, kVolume,
};

// Values above 1 become 1; anything not at least 0, NaN included, becomes 0.
float clampParameter(float value) {
    if (value > 1.0f) return 1.0f;
    if (!(value >= 0.0f)) return 0.0f;
    return value;
}

// The vowel 0 to 4 (a, e, i, o, u) of a vowel value: value x 10 rounded to
// nearest (ties to even), modulo 5.
VstInt32 vowelOf(float value) {
    return static_cast<VstInt32>(std::nearbyint(static_cast<double>(value) * 10.0)) % kNumVowels;
}

// A morph of `value` x 4 seconds in frames, rounded to nearest (the product is
// exact in double). A rate that is huge or not a number would not fit a 32-bit
// integer: the result saturates, one below the largest integer so that the
// morph counter can always step one past it.
VstInt32 morphLengthFrames(float value, float sampleRate) {
    const double frames = std::nearbyint(static_cast<double>(value) * static_cast<double>(sampleRate) * 4.0);
    if (std::isnan(frames)) return 0;
    if (frames >= static_cast<double>(INT32_MAX - 1)) return INT32_MAX - 1;
    if (frames <= static_cast<double>(INT32_MIN)) return INT32_MIN;
    return static_cast<VstInt32>(frames);
}

void copyText(char* destination, const char* source) { std::strcpy(destination, source); }

}  // namespace

// ---- APluginProgram -----------------------------------------------------------

APluginProgram::APluginProgram() { copyText(fName, "Init"); }

SharedValue<float>* APluginProgram::value(VstInt32 index) {
    switch (index) {
        case kWaveform: return &fWaveform;
        case kRelease: return &fRelease;
        case kGlide: return &fGlide;
        case kMorphTime: return &fMorphTime;
        case kAttack: return &fAttack;
        case kVowel: return &fVowel;
        case kDryWet: return &fDryWet;
        case kVolume: return &fVolume;
        default: return nullptr;
    }
}

// ---- Parameters -----------------------------------------------------------------

SharedValue<float>* APlugin::parameterField(VstInt32 index) {
    switch (index) {
        case kWaveform: return &fWaveform;
        case kRelease: return &fRelease;
        case kGlide: return &fGlide;
        case kMorphTime: return &fMorphTime;
        case kAttack: return &fAttack;
        case kVowel: return &fVowel;
        case kDryWet: return &fDryWet;
        case kVolume: return &fVolume;
        default: return nullptr;
    }
}

void APlugin::refreshEditor() {
    if (editor) editor->update();
}

void APlugin::setParameter(VstInt32 index, float value) {
    value = clampParameter(value);
    if (SharedValue<float>* field = parameterField(index)) {
        if (index == kMorphTime) {
            // Hold a running morph at its present blend, with the new length.
            fMorphLen.set(morphLengthFrames(value, sampleRate.get()));
            fMorphTarget.set(kMorphHold);
            fMorphRequests.fetch_add(1, std::memory_order_release);
        } else if (index == kVowel) {
            // Restart the morph from the present blend towards the vowel.
            fMorphTarget.set(vowelOf(value));
            fMorphRestarts.fetch_add(1, std::memory_order_relaxed);
            fMorphRequests.fetch_add(1, std::memory_order_release);
        }
        field->set(value);
        fPrograms[curProgram.get()]->value(index)->set(value);
    }
    refreshEditor();
}

void APlugin::takeMorphRequest() {
    const std::uint32_t requests = fMorphRequests.load(std::memory_order_acquire);
    if (requests == fMorphRequestsServed) return;
    fMorphRequestsServed = requests;

    const std::uint32_t restarts = fMorphRestarts.load(std::memory_order_relaxed);
    if (restarts != fMorphRestartsServed) {
        fMorphRestartsServed = restarts;
        fMorphPos = 0;
    }
    // Requests served together compose like the setter's steps applied one
    // after the other: the start is the present blend either way, the end is
    // the last vowel chosen, or the present blend after a morph-time change.
    const VstInt32 target = fMorphTarget.get();
    for (int k = 0; k < kNumVowels; ++k) {
        fGainFrom[k] = fGain[k];
        if (target == kMorphHold)
            fGainTo[k] = fGain[k];
        else
            fGainTo[k] = k == target ? 1.0f : 0.0f;
    }
}

float APlugin::getParameter(VstInt32 index) {
    const SharedValue<float>* field = parameterField(index);
    return field ? field->get() : 0.0f;
}

void APlugin::getParameterName(VstInt32 index, char* text) {
    copyText(text, index >= 0 && index < kNumParams ? kParameterNames[index] : "unknown");
}

void APlugin::getParameterDisplay(VstInt32 index, char* text) {
    value_text::formatParameterValue(getParameter(index), value_text::decimalSeparator(), text);
}

void APlugin::getParameterLabel(VstInt32 /*index*/, char* label) { copyText(label, "%"); }

// ---- Programs -------------------------------------------------------------------

void APlugin::setProgram(VstInt32 program) {
    if (program < 0 || program >= kNumPrograms) return;
    curProgram.set(program);
    APluginProgram& selected = *fPrograms[program];
    for (VstInt32 index : kProgramLoadOrder) setParameter(index, selected.value(index)->get());
    if (!fEditorClosed.get()) refreshEditor();
}

void APlugin::setProgramName(char* name) {
    // The host gives no length: read at most the capacity, store terminated.
    char* stored = fPrograms[curProgram.get()]->fName;
    int length = 0;
    while (length < kProgramNameMax && name[length] != '\0') {
        stored[length] = name[length];
        ++length;
    }
    stored[length] = '\0';
    if (!fEditorClosed.get()) refreshEditor();
}

void APlugin::getProgramName(char* name) { copyText(name, fPrograms[curProgram.get()]->fName); }

bool APlugin::getProgramNameIndexed(VstInt32 /*category*/, VstInt32 index, char* text) {
    if (index < 0 || index >= kNumPrograms) return false;
    copyText(text, fPrograms[index]->fName);
    return true;
}
