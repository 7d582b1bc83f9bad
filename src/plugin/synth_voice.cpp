// MIDI input. Placeholder until the synthesiser voice lands.

#include "plugin/plugin.h"

VstInt32 APlugin::processEvents(VstEvents* /*events*/) { return 1; }
