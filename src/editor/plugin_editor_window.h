// TPluginEditorWindow: the plug-in's editor window, 339 by 220 pixels of
// bitmaps with six sliders, five vowel buttons, the waveform switch, the
// randomise area, the about strip and panel and an info line that names what
// lies under the mouse. Its controls come from the form description in
// plugin_editor_form.cpp.
//
// The window reads only its own copies of the parameter values (written by the
// editor object's update() on any thread) and changes parameters only through
// the plug-in's setters: the sliders through setParameterAutomated, which also
// tells the host, everything else through setParameter. Everything else runs
// on the user-interface thread.
#pragma once

#include <string>

#include "gui/form.h"
#include "vst/shared_value.h"

class APlugin;

class TPluginEditorWindow : public gui::Form {
public:
    // Builds the form from its description and runs FormCreate; not yet shown.
    TPluginEditorWindow();
    ~TPluginEditorWindow() override;

    // ---- Controls, bound by name when the form is built ----------------------
    gui::Timer* Updater = nullptr;
    gui::Image* bg = nullptr;
    gui::Image* vow_a = nullptr;
    gui::Image* vow_e = nullptr;
    gui::Image* vow_i = nullptr;
    gui::Image* vow_o = nullptr;
    gui::Image* vow_u = nullptr;
    gui::Image* prelease = nullptr;
    gui::Image* release = nullptr;
    gui::Label* info = nullptr;
    gui::Image* pattack = nullptr;
    gui::Image* attack = nullptr;
    gui::Image* filterlogo = nullptr;
    gui::Image* drywet = nullptr;
    gui::Image* pdrywet = nullptr;
    gui::Image* morph = nullptr;
    gui::Image* pmorph = nullptr;
    gui::Image* glide = nullptr;
    gui::Image* pglide = nullptr;
    gui::Image* noi = nullptr;
    gui::Image* saw = nullptr;
    gui::Image* squ = nullptr;
    gui::Image* vol = nullptr;
    gui::Image* pvol = nullptr;
    gui::Image* rand = nullptr;
    gui::Image* about = nullptr;
    gui::Image* aboutscr = nullptr;
    gui::Label* version = nullptr;

    // ---- The window's own fields -----------------------------------------------
    // Set by the editor object right after creation.
    APlugin* fPlugin = nullptr;
    // Copies of the displayed values, in this order; written by the editor
    // object on any thread, read here on the user-interface thread.
    SharedValue<float> fVolume{0.0f};
    SharedValue<float> fDryWet{0.0f};
    SharedValue<float> fWaveform{0.0f};
    SharedValue<float> fRelease{0.0f};
    SharedValue<float> fGlide{0.0f};
    SharedValue<float> fMorphTime{0.0f};
    SharedValue<float> fAttack{0.0f};

    // The timer handler, also called by the editor once at every open: places
    // the six pointers and shows the waveform face from the copies.
    void UpdaterTimer();

    int clientWidth() const { return width(); }
    int clientHeight() const { return height(); }
    // The window text; there is no title bar that shows it.
    static constexpr const char* kCaption = "Orvalune";
    const char* caption() const override { return kCaption; }

private:
    struct Slider;
    static const Slider kSliders[];

    void bindNames(gui::Bindings& bindings);
    void setInfo(const std::string& text);
    void sliderMove(const Slider& slider, gui::ShiftState shift, int x, int y);
    void placePointer(const Slider& slider);
    void showWaveformFace(gui::Image* face);
    void setParameter(int index, float value);

    // ---- Handlers ------------------------------------------------------------------
    void FormCreate();
    void bgMouseMove(gui::ShiftState shift, int x, int y);

    void vow_aClick();
    void vow_eClick();
    void vow_iClick();
    void vow_oClick();
    void vow_uClick();
    void vow_aMouseMove(gui::ShiftState shift, int x, int y);
    void vow_eMouseMove(gui::ShiftState shift, int x, int y);
    void vow_iMouseMove(gui::ShiftState shift, int x, int y);
    void vow_oMouseMove(gui::ShiftState shift, int x, int y);
    void vow_uMouseMove(gui::ShiftState shift, int x, int y);

    void sawMouseDown(gui::MouseButton button, gui::ShiftState shift, int x, int y);
    void squMouseDown(gui::MouseButton button, gui::ShiftState shift, int x, int y);
    void noiMouseDown(gui::MouseButton button, gui::ShiftState shift, int x, int y);
    void squMouseMove(gui::ShiftState shift, int x, int y);

    void morphMouseDown(gui::MouseButton button, gui::ShiftState shift, int x, int y);
    void morphMouseMove(gui::ShiftState shift, int x, int y);
    void attackMouseDown(gui::MouseButton button, gui::ShiftState shift, int x, int y);
    void attackMouseMove(gui::ShiftState shift, int x, int y);
    void releaseMouseDown(gui::MouseButton button, gui::ShiftState shift, int x, int y);
    void releaseMouseMove(gui::ShiftState shift, int x, int y);
    void glideMouseDown(gui::MouseButton button, gui::ShiftState shift, int x, int y);
    void glideMouseMove(gui::ShiftState shift, int x, int y);
    void drywetMouseDown(gui::MouseButton button, gui::ShiftState shift, int x, int y);
    void drywetMouseMove(gui::ShiftState shift, int x, int y);
    void volMouseDown(gui::MouseButton button, gui::ShiftState shift, int x, int y);
    void volMouseMove(gui::ShiftState shift, int x, int y);

    void randMouseMove(gui::ShiftState shift, int x, int y);
    void randMouseUp(gui::MouseButton button, gui::ShiftState shift, int x, int y);
    void aboutMouseMove(gui::ShiftState shift, int x, int y);
    void aboutMouseUp(gui::MouseButton button, gui::ShiftState shift, int x, int y);
    void aboutscrClick();
};
