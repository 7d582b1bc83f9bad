// TPluginEditorWindow: the plug-in's editor window, 339 by 220 pixels of
// bitmaps with six sliders, five vowel buttons, the waveform switch, the
// randomise area, the about strip and panel and an info line.
//
// The window reads only its own copies of the parameter values (written by the
// editor object's update() on any thread) and changes parameters only through
// the plug-in's setters. Everything else runs on the user-interface thread.
#pragma once

#include <cstdint>
#include <vector>

#include "gui/surface.h"
#include "vst/shared_value.h"

class APlugin;

class TPluginEditorWindow : public gui::Surface {
public:
    // Builds the form from its description and runs FormCreate; not yet shown.
    TPluginEditorWindow();
    ~TPluginEditorWindow() override;
    TPluginEditorWindow(const TPluginEditorWindow&) = delete;
    TPluginEditorWindow& operator=(const TPluginEditorWindow&) = delete;

    // Set by the editor object right after creation.
    APlugin* fPlugin = nullptr;
    // The copies of the displayed values, in this order.
    SharedValue<float> fVolume, fDryWet, fWaveform, fRelease, fGlide, fMorphTime, fAttack;

    // The timer handler: places the pointers and picks the waveform face from
    // the copies.
    void UpdaterTimer();

    int clientWidth() const { return kWidth; }
    int clientHeight() const { return kHeight; }

    // gui::Surface
    int width() const override { return kWidth; }
    int height() const override { return kHeight; }
    const std::uint32_t* render() override;
    bool needsRender() const override { return fDirty; }
    void mouseDown(gui::MouseButton button, gui::ShiftState shift, int x, int y) override;
    void mouseMove(gui::ShiftState shift, int x, int y) override;
    void mouseUp(gui::MouseButton button, gui::ShiftState shift, int x, int y) override;
    gui::Cursor cursorAt(int x, int y) const override;
    void timerTick() override { UpdaterTimer(); }

private:
    static constexpr int kWidth = 339;
    static constexpr int kHeight = 220;
    std::vector<std::uint32_t> fPixels;
    bool fDirty = true;
};
