// The VST 2 binary interface: the plug-in record, the callback types, the
// request numbers and the small records that cross the interface. Declared
// here from the interface's published numbers and layouts; the static_asserts
// at the end pin the layout on every target.
#pragma once

#include <cstddef>
#include <cstdint>

// On 32-bit Windows every interface function is __cdecl; elsewhere the
// platform has a single C calling convention.
#if defined(_WIN32) && !defined(_WIN64)
#define VSTCALLBACK __cdecl
#else
#define VSTCALLBACK
#endif

using VstInt16 = std::int16_t;
using VstInt32 = std::int32_t;
using VstIntPtr = std::intptr_t;

// Packs four characters, the first in the most significant byte.
constexpr VstInt32 fourCharCode(char a, char b, char c, char d) {
    return static_cast<VstInt32>((static_cast<std::uint32_t>(static_cast<unsigned char>(a)) << 24) |
                                 (static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 16) |
                                 (static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 8) |
                                 static_cast<std::uint32_t>(static_cast<unsigned char>(d)));
}

struct AEffect;

using audioMasterCallback = VstIntPtr(VSTCALLBACK*)(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                                    VstIntPtr value, void* ptr, float opt);
using AEffectDispatcherProc = audioMasterCallback;
using AEffectProcessProc = void(VSTCALLBACK*)(AEffect* effect, float** inputs, float** outputs,
                                              VstInt32 sampleFrames);
using AEffectProcessDoubleProc = void(VSTCALLBACK*)(AEffect* effect, double** inputs, double** outputs,
                                                    VstInt32 sampleFrames);
using AEffectSetParameterProc = void(VSTCALLBACK*)(AEffect* effect, VstInt32 index, float value);
using AEffectGetParameterProc = float(VSTCALLBACK*)(AEffect* effect, VstInt32 index);

constexpr VstInt32 kEffectMagic = fourCharCode('V', 's', 't', 'P');

struct AEffect {
    VstInt32 magic;
    AEffectDispatcherProc dispatcher;
    AEffectProcessProc process;  // accumulating; still called by old hosts
    AEffectSetParameterProc setParameter;
    AEffectGetParameterProc getParameter;
    VstInt32 numPrograms;
    VstInt32 numParams;
    VstInt32 numInputs;
    VstInt32 numOutputs;
    VstInt32 flags;
    VstIntPtr resvd1;
    VstIntPtr resvd2;
    VstInt32 initialDelay;
    VstInt32 realQualities;
    VstInt32 offQualities;
    float ioRatio;
    void* object;  // the plug-in's own instance
    void* user;    // reserved for the host
    VstInt32 uniqueID;
    VstInt32 version;
    AEffectProcessProc processReplacing;
    AEffectProcessDoubleProc processDoubleReplacing;
    char future[56];
};

enum VstAEffectFlags : VstInt32 {
    effFlagsHasEditor = 1,
    effFlagsHasClip = 2,
    effFlagsHasVu = 4,
    effFlagsCanMono = 8,
    effFlagsCanReplacing = 16,
    effFlagsProgramChunks = 32,
    effFlagsIsSynth = 256,
    effFlagsNoSoundInStop = 512,
    effFlagsCanDoubleReplacing = 4096,
};

// Requests from the host to the plug-in (the dispatcher's opcode).
enum AEffectOpcodes : VstInt32 {
    effOpen = 0,
    effClose,
    effSetProgram,
    effGetProgram,
    effSetProgramName,
    effGetProgramName,
    effGetParamLabel,
    effGetParamDisplay,
    effGetParamName,
    effGetVu,
    effSetSampleRate,  // 10
    effSetBlockSize,
    effMainsChanged,
    effEditGetRect,
    effEditOpen,
    effEditClose,
    effEditDraw,
    effEditMouse,
    effEditKey,
    effEditIdle,
    effEditTop,  // 20
    effEditSleep,
    effIdentify,
    effGetChunk,
    effSetChunk,
    effProcessEvents,
    effCanBeAutomated,
    effString2Parameter,
    effGetNumProgramCategories,
    effGetProgramNameIndexed,
    effCopyProgram,  // 30
    effConnectInput,
    effConnectOutput,
    effGetInputProperties,
    effGetOutputProperties,
    effGetPlugCategory,
    effGetCurrentPosition,
    effGetDestinationBuffer,
    effOfflineNotify,
    effOfflinePrepare,
    effOfflineRun,  // 40
    effProcessVarIo,
    effSetSpeakerArrangement,
    effSetBlockSizeAndSampleRate,
    effSetBypass,
    effGetEffectName,
    effGetErrorText,
    effGetVendorString,
    effGetProductString,
    effGetVendorVersion,
    effVendorSpecific,  // 50
    effCanDo,
    effGetTailSize,
    effIdle,
    effGetIcon,
    effSetViewPosition,
    effGetParameterProperties,
    effKeysRequired,
    effGetVstVersion,
    effEditKeyDown,
    effEditKeyUp,  // 60
    effSetEditKnobMode,
    effGetMidiProgramName,
    effGetCurrentMidiProgram,
    effGetMidiProgramCategory,
    effHasMidiProgramsChanged,
    effGetMidiKeyName,
    effBeginSetProgram,
    effEndSetProgram,
    effGetSpeakerArrangement,
    effShellGetNextPlugin,  // 70
    effStartProcess,
    effStopProcess,
    effSetTotalSampleToProcess,
    effSetPanLaw,
    effBeginLoadBank,
    effBeginLoadProgram,
    effSetProcessPrecision,
    effGetNumMidiInputChannels,
    effGetNumMidiOutputChannels,  // 79
};

// Requests from the plug-in to the host (the host callback's opcode).
enum AudioMasterOpcodes : VstInt32 {
    audioMasterAutomate = 0,
    audioMasterVersion = 1,
    audioMasterCurrentId = 2,
    audioMasterIdle = 3,
    audioMasterWantMidi = 6,
    audioMasterGetTime = 7,
    audioMasterIOChanged = 13,
    audioMasterSizeWindow = 15,
    audioMasterGetSampleRate = 16,
    audioMasterGetBlockSize = 17,
    audioMasterGetCurrentProcessLevel = 23,
    audioMasterGetVendorString = 32,
    audioMasterGetProductString = 33,
    audioMasterGetVendorVersion = 34,
    audioMasterCanDo = 37,
    audioMasterUpdateDisplay = 42,
    audioMasterBeginEdit = 43,
    audioMasterEndEdit = 44,
};

struct ERect {
    VstInt16 top;
    VstInt16 left;
    VstInt16 bottom;
    VstInt16 right;
};

enum VstEventTypes : VstInt32 {
    kVstMidiType = 1,
    kVstSysExType = 6,
};

struct VstEvent {
    VstInt32 type;
    VstInt32 byteSize;
    VstInt32 deltaFrames;
    VstInt32 flags;
    char data[16];
};

struct VstMidiEvent {
    VstInt32 type;  // kVstMidiType
    VstInt32 byteSize;
    VstInt32 deltaFrames;
    VstInt32 flags;
    VstInt32 noteLength;
    VstInt32 noteOffset;
    char midiData[4];
    char detune;
    char noteOffVelocity;
    char reserved1;
    char reserved2;
};

// The host allocates as many event pointers as it sends; two are declared.
struct VstEvents {
    VstInt32 numEvents;
    VstIntPtr reserved;
    VstEvent* events[2];
};

enum VstPinPropertiesFlags : VstInt32 {
    kVstPinIsActive = 1,
    kVstPinIsStereo = 2,
    kVstPinUseSpeaker = 4,
};

struct VstPinProperties {
    char label[64];
    VstInt32 flags;
    VstInt32 arrangementType;
    char shortLabel[8];
    char future[48];
};

// Text buffer sizes, terminating zero included, that hosts are told to provide.
enum VstStringConstants : VstInt32 {
    kVstMaxProgNameLen = 24,
    kVstMaxParamStrLen = 8,
    kVstMaxVendorStrLen = 64,
    kVstMaxProductStrLen = 64,
    kVstMaxEffectNameLen = 32,
};

// ---- Layout checks, per target ------------------------------------------------

static_assert(sizeof(VstInt32) == 4 && sizeof(VstIntPtr) == sizeof(void*), "interface integer widths");
static_assert(sizeof(ERect) == 8, "ERect layout");
static_assert(sizeof(VstEvent) == 32 && offsetof(VstEvent, data) == 16, "VstEvent layout");
static_assert(sizeof(VstMidiEvent) == 32 && offsetof(VstMidiEvent, midiData) == 24 &&
                  offsetof(VstMidiEvent, detune) == 28 && offsetof(VstMidiEvent, reserved2) == 31,
              "VstMidiEvent layout");
static_assert(sizeof(VstPinProperties) == 128 && offsetof(VstPinProperties, flags) == 64 &&
                  offsetof(VstPinProperties, arrangementType) == 68 &&
                  offsetof(VstPinProperties, shortLabel) == 72 && offsetof(VstPinProperties, future) == 80,
              "VstPinProperties layout");

#if defined(__x86_64__) || defined(_WIN64)
static_assert(sizeof(AEffect) == 192, "AEffect size on x86-64");
static_assert(offsetof(AEffect, dispatcher) == 8 && offsetof(AEffect, process) == 16 &&
                  offsetof(AEffect, setParameter) == 24 && offsetof(AEffect, getParameter) == 32 &&
                  offsetof(AEffect, numPrograms) == 40 && offsetof(AEffect, numParams) == 44 &&
                  offsetof(AEffect, numInputs) == 48 && offsetof(AEffect, numOutputs) == 52 &&
                  offsetof(AEffect, flags) == 56 && offsetof(AEffect, resvd1) == 64 &&
                  offsetof(AEffect, resvd2) == 72 && offsetof(AEffect, initialDelay) == 80 &&
                  offsetof(AEffect, realQualities) == 84 && offsetof(AEffect, offQualities) == 88 &&
                  offsetof(AEffect, ioRatio) == 92 && offsetof(AEffect, object) == 96 &&
                  offsetof(AEffect, user) == 104 && offsetof(AEffect, uniqueID) == 112 &&
                  offsetof(AEffect, version) == 116 && offsetof(AEffect, processReplacing) == 120 &&
                  offsetof(AEffect, processDoubleReplacing) == 128 && offsetof(AEffect, future) == 136,
              "AEffect field offsets on x86-64");
static_assert(sizeof(VstEvents) == 32 && offsetof(VstEvents, events) == 16, "VstEvents layout on x86-64");
#elif defined(__i386__) || defined(_M_IX86)
static_assert(sizeof(AEffect) == 144, "AEffect size on 32-bit x86");
static_assert(offsetof(AEffect, dispatcher) == 4 && offsetof(AEffect, process) == 8 &&
                  offsetof(AEffect, setParameter) == 12 && offsetof(AEffect, getParameter) == 16 &&
                  offsetof(AEffect, numPrograms) == 20 && offsetof(AEffect, numParams) == 24 &&
                  offsetof(AEffect, numInputs) == 28 && offsetof(AEffect, numOutputs) == 32 &&
                  offsetof(AEffect, flags) == 36 && offsetof(AEffect, resvd1) == 40 &&
                  offsetof(AEffect, resvd2) == 44 && offsetof(AEffect, initialDelay) == 48 &&
                  offsetof(AEffect, realQualities) == 52 && offsetof(AEffect, offQualities) == 56 &&
                  offsetof(AEffect, ioRatio) == 60 && offsetof(AEffect, object) == 64 &&
                  offsetof(AEffect, user) == 68 && offsetof(AEffect, uniqueID) == 72 &&
                  offsetof(AEffect, version) == 76 && offsetof(AEffect, processReplacing) == 80 &&
                  offsetof(AEffect, processDoubleReplacing) == 84 && offsetof(AEffect, future) == 88,
              "AEffect field offsets on 32-bit x86");
static_assert(sizeof(VstEvents) == 16 && offsetof(VstEvents, events) == 8, "VstEvents layout on 32-bit x86");
#else
#error "Orvalune is built for x86 and x86-64 only"
#endif
