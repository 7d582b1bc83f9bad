// Audio processing. Placeholder until the sound engine lands: silence out.

#include "plugin/plugin.h"

void APlugin::process(float** /*inputs*/, float** /*outputs*/, VstInt32 /*sampleFrames*/) { takeMorphRequest(); }

void APlugin::processReplacing(float** /*inputs*/, float** outputs, VstInt32 sampleFrames) {
    takeMorphRequest();
    if (!outputs || !outputs[0] || !outputs[1]) return;
    for (VstInt32 i = 0; i < sampleFrames; ++i) outputs[0][i] = outputs[1][i] = 0.0f;
}
