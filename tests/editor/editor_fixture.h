// An editor window over an in-process plug-in, as the editor object sets it
// up when the host opens the editor, with a mouse to drive it.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "editor/plugin_editor_window.h"
#include "plugin/plugin_editor.h"
#include "test_plugin.h"

struct SetterCall {
    VstInt32 index;
    float value;
};

// Records every setParameter call, whichever setter it came through.
class RecordingPlugin : public TestPlugin {
public:
    void setParameter(VstInt32 index, float value) override {
        setterCalls.push_back({index, value});
        TestPlugin::setParameter(index, value);
    }
    // The automation the plug-in reported to its host.
    std::vector<RecordedRequest> automation() const {
        std::vector<RecordedRequest> found;
        for (const RecordedRequest& r : sent()) {
            if (r.opcode == audioMasterAutomate) found.push_back(r);
        }
        return found;
    }
    std::vector<SetterCall> setterCalls;
};

// Does for the test's window what the plug-in's editor object does for an
// open window: copies the seven displayed values into it on every update.
class WindowFeeder : public AEffEditor {
public:
    WindowFeeder(APlugin* plugin, TPluginEditorWindow* window) : AEffEditor(plugin), fPlugin(plugin), fWindow(window) {}
    void update() override { APluginEditor::copyDisplayedValues(*fPlugin, *fWindow); }

private:
    APlugin* fPlugin;
    TPluginEditorWindow* fWindow;
};

class EditorTest : public testing::Test {
protected:
    EditorTest() {
        delete plugin.editor;
        plugin.editor = new WindowFeeder(&plugin, &window);
        window.fPlugin = &plugin;
        plugin.editor->update();
        window.UpdaterTimer();
        forgetCalls();
    }

    void forgetCalls() {
        plugin.setterCalls.clear();
        TestPlugin::sent().clear();
    }

    // The mouse, in window coordinates. A press carries its own button in
    // the shift state, as the platform layers deliver it.
    void press(int x, int y, gui::MouseButton button = gui::MouseButton::Left, gui::ShiftState keys = 0) {
        window.mouseDown(button, keys | buttonFlag(button), x, y);
    }
    void release(int x, int y, gui::MouseButton button = gui::MouseButton::Left, gui::ShiftState keys = 0) {
        window.mouseUp(button, keys, x, y);
    }
    void move(int x, int y, gui::ShiftState shift = 0) { window.mouseMove(shift, x, y); }
    void click(int x, int y, gui::MouseButton button = gui::MouseButton::Left) {
        press(x, y, button);
        release(x, y, button);
    }
    // Sets a parameter as the host would and lets the timer show it.
    void hostSets(VstInt32 index, float value) {
        plugin.setParameter(index, value);
        window.timerTick();
        forgetCalls();
    }

    std::string infoText() const { return window.info->caption(); }
    const char* visibleFace() const {
        if (window.saw->visible() && !window.squ->visible() && !window.noi->visible()) return "saw";
        if (!window.saw->visible() && window.squ->visible() && !window.noi->visible()) return "squ";
        if (!window.saw->visible() && !window.squ->visible() && window.noi->visible()) return "noi";
        return "not exactly one";
    }

    static gui::ShiftState buttonFlag(gui::MouseButton button) {
        switch (button) {
            case gui::MouseButton::Left: return gui::kLeftButton;
            case gui::MouseButton::Right: return gui::kRightButton;
            case gui::MouseButton::Middle: return gui::kMiddleButton;
        }
        return 0;
    }

    // The window outlives the plug-in, whose editor object points at it.
    TPluginEditorWindow window;
    RecordingPlugin plugin;
};
