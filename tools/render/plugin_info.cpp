// The info command: what a host sees of the plug-in after `main` and effOpen,
// asked through the same requests a host sends.

#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "commands.h"
#include "host_session.h"

namespace render {

namespace {

std::string fourCharText(VstInt32 code) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = static_cast<char>((static_cast<std::uint32_t>(code) >> shift) & 0xFF);
        text += std::isprint(static_cast<unsigned char>(c)) ? c : '?';
    }
    return text;
}

std::string flagNames(VstInt32 flags) {
    struct Flag {
        VstInt32 bit;
        const char* name;
    } static const kFlags[] = {
        {effFlagsHasEditor, "hasEditor"},   {effFlagsHasClip, "hasClip"},
        {effFlagsHasVu, "hasVu"},           {effFlagsCanMono, "canMono"},
        {effFlagsCanReplacing, "canReplacing"}, {effFlagsProgramChunks, "programChunks"},
        {effFlagsIsSynth, "isSynth"},       {effFlagsNoSoundInStop, "noSoundInStop"},
        {effFlagsCanDoubleReplacing, "canDoubleReplacing"},
    };
    std::string text;
    VstInt32 rest = flags;
    for (const Flag& flag : kFlags) {
        if (!(flags & flag.bit)) continue;
        text += (text.empty() ? "" : ", ") + std::string(flag.name);
        rest &= ~flag.bit;
    }
    if (rest) text += (text.empty() ? "" : ", ") + std::string("other bits ") + std::to_string(rest);
    return text.empty() ? "none" : text;
}

const char* categoryName(VstIntPtr category) {
    static const char* const kNames[] = {"unknown", "effect", "synth", "analysis", "mastering", "spatializer",
                                         "room effect", "surround effect", "restoration", "offline", "shell",
                                         "generator"};
    return category >= 0 && category < 12 ? kNames[category] : "?";
}

const char* canDoText(VstIntPtr answer) { return answer > 0 ? "yes" : answer < 0 ? "no" : "don't know"; }

}  // namespace

int infoCommand(const Options& options) {
    HostSession session(pluginPath(options), options.sampleRate.value_or(44100.0), options.blockSize);
    session.configure(options.program, options.settings);
    host::PluginInstance& plugin = session.plugin();
    const AEffect& effect = session.effect();

    std::printf("plug-in       %s\n", pluginPath(options).c_str());
    std::printf("effect name   %s\n", plugin.text(effGetEffectName).c_str());
    std::printf("vendor        %s\n", plugin.text(effGetVendorString).c_str());
    std::printf("product       %s\n", plugin.text(effGetProductString).c_str());
    std::printf("version       vendor %ld, plug-in %d, VST %ld\n", static_cast<long>(plugin.dispatch(effGetVendorVersion)),
                effect.version, static_cast<long>(plugin.dispatch(effGetVstVersion)));
    std::printf("unique ID     %s (0x%08X)\n", fourCharText(effect.uniqueID).c_str(),
                static_cast<unsigned>(effect.uniqueID));
    const VstIntPtr category = plugin.dispatch(effGetPlugCategory);
    std::printf("category      %ld (%s)\n", static_cast<long>(category), categoryName(category));
    std::printf("inputs        %d\n", effect.numInputs);
    std::printf("outputs       %d", effect.numOutputs);
    for (VstInt32 pin = 0; pin < effect.numOutputs; ++pin) {
        VstPinProperties properties{};
        if (plugin.dispatch(effGetOutputProperties, pin, 0, &properties))
            std::printf("%s\"%.*s\"", pin == 0 ? " (" : ", ", static_cast<int>(sizeof properties.label),
                        properties.label);
        if (pin == effect.numOutputs - 1) std::printf(")");
    }
    std::printf("\n");
    std::printf("flags         0x%X (%s)\n", static_cast<unsigned>(effect.flags), flagNames(effect.flags).c_str());
    std::printf("latency       %d frames\n", effect.initialDelay);
    std::printf("can do       ");
    for (const char* capability : {"receiveVstEvents", "receiveVstMidiEvent", "sendVstEvents", "sendVstMidiEvent",
                                   "bypass", "offline"}) {
        std::string text = capability;
        std::printf(" %s %s;", capability, canDoText(plugin.dispatch(effCanDo, 0, 0, text.data())));
    }
    std::printf("\n");

    std::printf("\nparameters (%d)\n", effect.numParams);
    std::printf("  %-3s %-14s %-9s %-8s %s\n", "#", "name", "value", "display", "label");
    for (VstInt32 i = 0; i < effect.numParams; ++i) {
        std::printf("  %-3d %-14s %-9.6f %-8s %s\n", i, plugin.text(effGetParamName, i).c_str(),
                    static_cast<double>(plugin.getParameter(i)), plugin.text(effGetParamDisplay, i).c_str(),
                    plugin.text(effGetParamLabel, i).c_str());
    }

    std::printf("\nprograms (%d, current %ld)\n", effect.numPrograms, static_cast<long>(plugin.dispatch(effGetProgram)));
    for (VstInt32 i = 0; i < effect.numPrograms; ++i) {
        const std::string name = plugin.text(effGetProgramNameIndexed, i, -1);
        std::printf("  %-3d %s\n", i, name.c_str());
    }
    return 0;
}

}  // namespace render
