// The editor drawn without a window system: an editor window over an
// in-process instance holding the given values, as it looks right after the
// editor opens (pointers and waveform face placed by UpdaterTimer).

#include "editor_snapshot.h"

#include <exception>

#include "editor/plugin_editor_window.h"
#include "plugin/plugin.h"
#include "plugin/plugin_editor.h"
#include "png_file.h"

namespace render {

namespace {

VstIntPtr VSTCALLBACK quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

}  // namespace

bool writeEditorSnapshot(const float (&parameters)[8], const std::string& pngPath, std::string& error) {
    try {
        APlugin plugin(&quietHost);
        for (VstInt32 index = 0; index < kNumParams; ++index) plugin.setParameter(index, parameters[index]);

        // What the editor object does when the host opens the editor.
        TPluginEditorWindow window;
        APluginEditor::copyDisplayedValues(plugin, window);
        window.fPlugin = &plugin;
        window.UpdaterTimer();

        const std::uint32_t* pixels = window.render();
        RgbImage image(window.width(), window.height());
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                const std::uint32_t p = pixels[y * image.width + x];
                std::uint8_t* rgb = image.at(x, y);
                rgb[0] = static_cast<std::uint8_t>(p >> 16);
                rgb[1] = static_cast<std::uint8_t>(p >> 8);
                rgb[2] = static_cast<std::uint8_t>(p);
            }
        }
        writePng(image, pngPath, pngPath);
        return true;
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
}

}  // namespace render
