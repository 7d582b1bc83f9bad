// APlugin, the plug-in instance, and APluginProgram, one of its eight programs.
//
// One source per concern:
//   host_binding.cpp  creation, teardown, identity, capabilities, pins, VU
//   parameters.cpp    parameters, programs and the vowel-morph hand-over
//   filter_path.cpp   audio processing: block entries, morph, one frame
//   formant_bank.*    the block engine: morph, filter bank, mix, clip in SSE2
//   synth_voice.*     MIDI input and the synthesiser voice
//
// Threads: the host calls processing (and processEvents, between blocks) on
// its audio thread, which owns the sound engine's state; parameter, program
// and identity requests arrive on any thread, the editor's controls on the
// user-interface thread. Every field that crosses threads is a SharedValue (a
// relaxed atomic).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "plugin/formant_bank.h"
#include "vst/audioeffect.h"

struct SynthVoice;
struct VoiceSettings;

// Parameter indices towards the host.
enum PluginParameter : VstInt32 {
    kWaveform = 0,
    kRelease,
    kGlide,
    kMorphTime,
    kAttack,
    kVowel,
    kDryWet,
    kVolume,
    kNumParams
};

constexpr VstInt32 kNumPrograms = 8;
constexpr int kProgramNameMax = 48; // characters, not counting the terminating zero

// Envelope states of the synthesiser voice.
enum EnvState : VstInt32 { esIdle = 0, esAttack, esSustain, esRelease };

// One program: a value for every parameter and a name. Its values change only
// while it is the current program, through APlugin::setParameter.
class APluginProgram {
public:
    APluginProgram();

    // The program's value of a parameter index 0 to 7; nullptr for any other index.
    SharedValue<float>* value(VstInt32 index);

    SharedValue<float> fVolume{1.0f / 3.0f};
    SharedValue<float> fDryWet{0.0f};
    SharedValue<float> fWaveform{0.0f};
    SharedValue<float> fAttack{0.9f};
    SharedValue<float> fRelease{0.9f};
    SharedValue<float> fGlide{0.9f};
    SharedValue<float> fMorphTime{0.3f};
    SharedValue<float> fVowel{0.0f};
    char fName[kProgramNameMax + 1];
};

class APlugin : public AudioEffectX {
    // The editor object keeps the window's copies of the values current and
    // sets fEditorClosed.
    friend class APluginEditor;

public:
    explicit APlugin(audioMasterCallback audioMaster);
    ~APlugin() override;

    // ---- Parameters and programs (parameters.cpp); any thread -------------
    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;
    void setProgram(VstInt32 program) override;
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    void getParameterLabel(VstInt32 index, char* label) override;
    void getParameterDisplay(VstInt32 index, char* text) override;
    void getParameterName(VstInt32 index, char* text) override;
    bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;

    // ---- Host binding and identity (host_binding.cpp); any thread ---------
    float getVu() override;
    void suspend() override;
    void resume() override;
    bool getOutputProperties(VstInt32 index, VstPinProperties* properties) override;
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    VstInt32 getVendorVersion() override;
    VstInt32 canDo(char* text) override;

    // ---- MIDI input (synth_voice.cpp); audio thread, between blocks -------
    VstInt32 processEvents(VstEvents* events) override;

    // ---- Audio (filter_path.cpp); audio thread ----------------------------
    // Both read inputs[0..1] and write outputs[0..1]; the buffers may be the
    // same. process adds to the outputs, processReplacing overwrites them.
    void process(float** inputs, float** outputs, VstInt32 sampleFrames) override;
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;

protected:
    // One stereo frame through the whole path, one step after the other: the
    // voice's glide, envelope and sample, the input fold, the morph, the five
    // formant filters, the bank sum, the mix and the clip. This is the
    // definition of a frame; the block entries compute the same bits faster
    // (FormantBank), and the tests hold the two against each other.
    void processSample(float& left, float& right);
    // One step of formant filter `vowel` (0..4): the new output, also pushed
    // into row `vowel` of fFilterMem.
    float formantFilter(int vowel, float input);

    // The voice fields as one value, and back (synth_voice.cpp).
    SynthVoice loadVoice() const;
    void storeVoice(const SynthVoice& voice);

    // The audio thread's half of the morph hand-over: applies the vowel and
    // morph-time changes made since the last call (parameters.cpp). Called
    // between blocks, so a block sees one consistent morph state.
    void takeMorphRequest();

    // ---- Fields, in order -------------------------------------------------
    // Sound engine; the audio thread owns what is not a SharedValue.
    double fFilterMem[kNumVowels][kFilterOrder] = {};  // entry 0 newest
    SharedValue<std::uint8_t> fVoiceOn{0};
    SharedValue<VstInt32> fEnvState{esIdle};
    SharedValue<float> fEnvLevel{0.0f};
    SharedValue<float> fFreq{0.0f};
    SharedValue<float> fTargetFreq{0.0f};
    SharedValue<float> fPhase{0.0f};
    SharedValue<VstInt32> fNotesHeld{0};
    VstInt32 fMorphPos = 0;
    SharedValue<VstInt32> fMorphLen{0};
    float fGainFrom[kNumVowels] = {};
    float fGainTo[kNumVowels] = {};
    float fGain[kNumVowels] = {};
    // Parameter values, clamped to 0..1.
    SharedValue<float> fVolume{0.0f};
    SharedValue<float> fDryWet{0.0f};
    SharedValue<float> fWaveform{0.0f};
    SharedValue<float> fAttack{0.0f};
    SharedValue<float> fRelease{0.0f};
    SharedValue<float> fGlide{0.0f};
    SharedValue<float> fMorphTime{0.0f};
    SharedValue<float> fVowel{0.0f};
    // Nonzero while the editor window is closed (kept by the editor object).
    SharedValue<std::uint8_t> fEditorClosed{0};
    std::unique_ptr<APluginProgram> fPrograms[kNumPrograms];
    SharedValue<float> fVu{0.0f};

    // Morph hand-over. A vowel or morph-time change records what the audio
    // thread must do and then counts a request; the audio thread compares the
    // count with the last one it served (takeMorphRequest). A change is never
    // lost: the last one made is served at the latest at the next block.
    static constexpr VstInt32 kMorphHold = -1;
    SharedValue<VstInt32> fMorphTarget{kMorphHold};  // vowel 0..4, or kMorphHold
    std::atomic<std::uint32_t> fMorphRestarts{0};    // vowel selections made
    std::atomic<std::uint32_t> fMorphRequests{0};    // vowel and morph-time changes made
    std::uint32_t fMorphRestartsServed = 0;          // audio thread's own
    std::uint32_t fMorphRequestsServed = 0;          // audio thread's own

    // The block engine's working memory (audio thread only).
    FormantBank fBank;

private:
    // The block entries' common loop (filter_path.cpp).
    void processBlock(float** inputs, float** outputs, VstInt32 sampleFrames, bool accumulate);
    // Fills fBank's per-frame input and dry values of `frames` frames from the
    // voice or the host's input, starting at frame `offset` of the block.
    void prepareSources(SynthVoice& voice, const VoiceSettings& settings, float** inputs, VstInt32 offset, int frames);
    // The morph over the next `frames` frames for fBank, and the morph state
    // advanced past them.
    FormantBank::Morph morphOver(VstInt32 morphLength, int frames);
    // One frame's morph step: counts the frame and sets fGain.
    void morphStep(VstInt32 morphLength);

    // The instance field holding a parameter index 0 to 7; nullptr otherwise.
    SharedValue<float>* parameterField(VstInt32 index);
    void refreshEditor();
};
