// Creation and teardown of the instance, and what it tells the host about
// itself: names, version, capabilities, output pins, VU.

#include <cstdio>
#include <cstring>

#include "plugin/plugin.h"
#include "plugin/plugin_editor.h"
#include "plugin/random.h"

namespace {
constexpr const char* kEffectName = "Kessaron";
constexpr const char* kVendorName = "Mirtlegg";
constexpr VstInt32 kVendorVersion = 1;
constexpr VstInt32 kUniqueId = fourCharCode('Q', 'R', 'K', 'X');
}  // namespace

APlugin::APlugin(audioMasterCallback audioMasterArg) : AudioEffectX(audioMasterArg, kNumPrograms, kNumParams) {
    // The voice, morph and filter state start at zero (member initialisers).
    for (auto& program : fPrograms) program = std::make_unique<APluginProgram>();
    setEditor(new APluginEditor(this));
    random_source::seedFromClock();
    suspend();
    hasVu(false);
    setNumInputs(2);
    setNumOutputs(2);
    canMono(true);
    canProcessReplacing(true);
    isSynth(false);
    setUniqueID(kUniqueId);
    for (int i = 0; i < kNumPrograms; ++i)
        std::snprintf(fPrograms[i]->fName, sizeof fPrograms[i]->fName, "Init Preset %02d", i + 1);
    curProgram.set(0);
    setProgram(0);
}

APlugin::~APlugin() {
    // The framework base destroys the editor object after this body; it must
    // go before the programs, so it is destroyed here first.
    delete editor;
    editor = nullptr;
    for (auto& program : fPrograms) program.reset();
}

// ---- Identity -------------------------------------------------------------------

bool APlugin::getEffectName(char* name) {
    std::strcpy(name, kEffectName);
    return true;
}

bool APlugin::getVendorString(char* text) {
    std::strcpy(text, kVendorName);
    return true;
}

bool APlugin::getProductString(char* text) {
    std::strcpy(text, kEffectName);
    return true;
}

VstInt32 APlugin::getVendorVersion() { return kVendorVersion; }

VstInt32 APlugin::canDo(char* text) {
    return std::strcmp(text, "receiveVstEvents") == 0 || std::strcmp(text, "receiveVstMidiEvent") == 0 ? 1 : -1;
}

bool APlugin::getOutputProperties(VstInt32 index, VstPinProperties* properties) {
    if (index < 0 || index >= 2) return false;
    std::snprintf(properties->label, sizeof properties->label, "QRKX %d", index + 1);
    properties->flags = kVstPinIsActive | kVstPinIsStereo;
    return true;
}

// ---- Switching on and off ---------------------------------------------------------

float APlugin::getVu() {
    const float vu = fVu.get();
    fVu.set(0.0f);
    return vu;
}

// Nothing is reset when the host switches the plug-in off: histories, voice and
// morph carry on where they were.
void APlugin::suspend() {}

void APlugin::resume() { wantEvents(1); }
