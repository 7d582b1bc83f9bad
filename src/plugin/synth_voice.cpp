// MIDI input and the synthesiser voice.

#include "plugin/synth_voice.h"

#include <climits>
#include <cmath>

#include "plugin/note_table.h"

namespace {

constexpr unsigned char kNoteOff = 0x80;
constexpr unsigned char kNoteOn = 0x90;
constexpr unsigned char kControlChange = 0xB0;
constexpr unsigned char kAllNotesReleased = 126;

// More steps than this and the phase wrap takes the remainder in one go.
constexpr int kMaxWrapSteps = 4;

using voice_detail::toFloat;

}  // namespace

// ---- MIDI ---------------------------------------------------------------------

void SynthVoice::applyMidi(unsigned char status, unsigned char data1, unsigned char data2) {
    switch (status & 0xF0) {  // the channel is not looked at
        case kNoteOn:
            if (data2 != 0)
                noteOn(data1 & 0x7F);
            else
                noteOff();
            break;
        case kNoteOff: noteOff(); break;
        case kControlChange:
            if (data1 == kAllNotesReleased) releaseAll();
            break;
        default: break;
    }
}

void SynthVoice::noteOn(int midiNote) {
    targetFreq = noteFrequency(midiNote);
    if (notesHeld < INT32_MAX) ++notesHeld;
    phase = 0.0f;
    // Only the first held note starts an attack; it rises from the level
    // reached, also during a release.
    if (notesHeld == 1) envState = esAttack;
}

// Any note-off counts, whichever note it names: the pitch stays at the last
// note played.
void SynthVoice::noteOff() {
    if (notesHeld > INT32_MIN) --notesHeld;
    if (notesHeld < 1 && envState != esIdle) envState = esRelease;
}

void SynthVoice::releaseAll() {
    notesHeld = 0;
    envState = esRelease;
}

// ---- Phase wrap ---------------------------------------------------------------

float wrapPhasePastPeriod(float phase, float period) noexcept {
    if (!(period > 0.0f)) return 0.0f;  // subtracting would never end
    for (int step = 0; step < kMaxWrapSteps; ++step) {
        phase = toFloat(static_cast<double>(phase) - static_cast<double>(period));
        if (!(phase >= period)) return phase;
    }
    // A period of a small fraction of a sample: take the remainder (exact in
    // double), and keep it below the period after rounding.
    const float rest = toFloat(std::fmod(static_cast<double>(phase), static_cast<double>(period)));
    return rest < period ? rest : 0.0f;
}

// ---- The instance's voice fields ------------------------------------------------

SynthVoice APlugin::loadVoice() const {
    SynthVoice voice;
    voice.on = fVoiceOn.get() != 0;
    voice.envState = fEnvState.get();
    voice.envLevel = fEnvLevel.get();
    voice.freq = fFreq.get();
    voice.targetFreq = fTargetFreq.get();
    voice.phase = fPhase.get();
    voice.notesHeld = fNotesHeld.get();
    return voice;
}

void APlugin::storeVoice(const SynthVoice& voice) {
    fVoiceOn.set(voice.on ? 1 : 0);
    fEnvState.set(voice.envState);
    fEnvLevel.set(voice.envLevel);
    fFreq.set(voice.freq);
    fTargetFreq.set(voice.targetFreq);
    fPhase.set(voice.phase);
    fNotesHeld.set(voice.notesHeld);
}

VstInt32 APlugin::processEvents(VstEvents* events) {
    if (!events) return 0;
    SynthVoice voice = loadVoice();
    // The host allocates as many pointers as it sends; the record declares two.
    VstEvent* const* list = events->events;
    for (VstInt32 i = 0; i < events->numEvents; ++i) {
        const VstEvent* event = list[i];
        if (!event || event->type != kVstMidiType) continue;
        const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
        voice.applyMidi(static_cast<unsigned char>(midi->midiData[0]), static_cast<unsigned char>(midi->midiData[1]),
                        static_cast<unsigned char>(midi->midiData[2]));
    }
    storeVoice(voice);
    return 1;
}
