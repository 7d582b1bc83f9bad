// The editor window's handlers: slider drags, vowel buttons, the waveform
// switch, randomise, the about strip and panel, the info line and the timer.

#include "editor/plugin_editor_window.h"

#include <algorithm>
#include <cmath>

#include "editor/plugin_editor_form.h"
#include "plugin/plugin.h"
#include "plugin/random.h"

namespace {

// Pointers are drawn so that the spot 4 pixels in from their left (or top)
// edge marks the value.
constexpr int kPointerOffset = 4;

// value x scale, rounded to nearest with ties to even. The copies always lie
// in 0 to 1; anything else is clamped first so that the conversion to an
// integer stays defined.
long scaled(float value, double scale) {
    const double v = value > 1.0f ? 1.0 : (value >= 0.0f ? static_cast<double>(value) : 0.0);
    return std::lrint(v * scale);
}

std::string percentText(const char* prefix, float value) {
    return prefix + std::to_string(scaled(value, 100.0)) + "%";
}

std::string morphText(float value) { return "morph time (ms): " + std::to_string(scaled(value, 4000.0)); }
std::string attackText(float value) { return percentText("attack rate: ", value); }
std::string releaseText(float value) { return percentText("release rate: ", value); }
std::string glideText(float value) { return percentText("glide rate: ", value); }

// The bank's share, then the dry signal's; 0 at the top means all bank.
std::string dryWetText(float value) {
    const long n = scaled(value, 100.0);
    return "wet/dry mix: " + std::to_string(100 - n) + ":" + std::to_string(n);
}

// Output gain in percent: 150 at the top, 0 at the bottom.
std::string volumeText(float value) { return "output volume: " + std::to_string(150 - scaled(value, 150.0)) + "%"; }

std::string vowelText(char vowel) { return std::string("morph to vowel \"") + vowel + "\""; }

// Rows of TPluginEditorWindow::kSliders, in the order UpdaterTimer places
// the pointers.
enum SliderIndex { kMorphSlider, kDryWetSlider, kVolumeSlider, kAttackSlider, kReleaseSlider, kGlideSlider };

}  // namespace

// A slider: the area that takes the mouse, its pointer, the parameter it sends
// and the copy it shows. Vertical sliders grow downward.
struct TPluginEditorWindow::Slider {
    gui::Image* TPluginEditorWindow::*area;
    gui::Image* TPluginEditorWindow::*pointer;
    bool vertical;
    int parameter;
    SharedValue<float> TPluginEditorWindow::*copy;
    std::string (*text)(float value);
    // The release slider writes its text before it sends the new value, so it
    // shows the value from before the current mouse event.
    bool textBeforeChange;
};

const TPluginEditorWindow::Slider TPluginEditorWindow::kSliders[] = {
    {&TPluginEditorWindow::morph, &TPluginEditorWindow::pmorph, false, kMorphTime, &TPluginEditorWindow::fMorphTime,
     morphText, false},
    {&TPluginEditorWindow::drywet, &TPluginEditorWindow::pdrywet, true, kDryWet, &TPluginEditorWindow::fDryWet,
     dryWetText, false},
    {&TPluginEditorWindow::vol, &TPluginEditorWindow::pvol, true, kVolume, &TPluginEditorWindow::fVolume, volumeText,
     false},
    {&TPluginEditorWindow::attack, &TPluginEditorWindow::pattack, false, kAttack, &TPluginEditorWindow::fAttack,
     attackText, false},
    {&TPluginEditorWindow::release, &TPluginEditorWindow::prelease, false, kRelease, &TPluginEditorWindow::fRelease,
     releaseText, true},
    {&TPluginEditorWindow::glide, &TPluginEditorWindow::pglide, false, kGlide, &TPluginEditorWindow::fGlide,
     glideText, false},
};

// ---- Creation -------------------------------------------------------------------

TPluginEditorWindow::TPluginEditorWindow() : gui::Form(kPluginEditorWidth, kPluginEditorHeight, kPluginEditorColour) {
    gui::Bindings bindings;
    bindNames(bindings);
    build(kPluginEditorForm, kPluginEditorFormSize, bindings, pluginEditorResources());
    FormCreate();
}

TPluginEditorWindow::~TPluginEditorWindow() = default;

void TPluginEditorWindow::bindNames(gui::Bindings& b) {
    using W = TPluginEditorWindow;
    b.reference("Updater", Updater);
    b.reference("bg", bg);
    b.reference("vow_a", vow_a);
    b.reference("vow_e", vow_e);
    b.reference("vow_i", vow_i);
    b.reference("vow_o", vow_o);
    b.reference("vow_u", vow_u);
    b.reference("prelease", prelease);
    b.reference("release", release);
    b.reference("info", info);
    b.reference("pattack", pattack);
    b.reference("attack", attack);
    b.reference("filterlogo", filterlogo);
    b.reference("drywet", drywet);
    b.reference("pdrywet", pdrywet);
    b.reference("morph", morph);
    b.reference("pmorph", pmorph);
    b.reference("glide", glide);
    b.reference("pglide", pglide);
    b.reference("noi", noi);
    b.reference("saw", saw);
    b.reference("squ", squ);
    b.reference("vol", vol);
    b.reference("pvol", pvol);
    b.reference("rand", rand);
    b.reference("about", about);
    b.reference("aboutscr", aboutscr);
    b.reference("version", version);

    b.handler("bgMouseMove", this, &W::bgMouseMove);
    b.handler("vow_aClick", this, &W::vow_aClick);
    b.handler("vow_eClick", this, &W::vow_eClick);
    b.handler("vow_iClick", this, &W::vow_iClick);
    b.handler("vow_oClick", this, &W::vow_oClick);
    b.handler("vow_uClick", this, &W::vow_uClick);
    b.handler("vow_aMouseMove", this, &W::vow_aMouseMove);
    b.handler("vow_eMouseMove", this, &W::vow_eMouseMove);
    b.handler("vow_iMouseMove", this, &W::vow_iMouseMove);
    b.handler("vow_oMouseMove", this, &W::vow_oMouseMove);
    b.handler("vow_uMouseMove", this, &W::vow_uMouseMove);
    b.handler("sawMouseDown", this, &W::sawMouseDown);
    b.handler("squMouseDown", this, &W::squMouseDown);
    b.handler("noiMouseDown", this, &W::noiMouseDown);
    b.handler("squMouseMove", this, &W::squMouseMove);
    b.handler("morphMouseDown", this, &W::morphMouseDown);
    b.handler("morphMouseMove", this, &W::morphMouseMove);
    b.handler("attackMouseDown", this, &W::attackMouseDown);
    b.handler("attackMouseMove", this, &W::attackMouseMove);
    b.handler("releaseMouseDown", this, &W::releaseMouseDown);
    b.handler("releaseMouseMove", this, &W::releaseMouseMove);
    b.handler("glideMouseDown", this, &W::glideMouseDown);
    b.handler("glideMouseMove", this, &W::glideMouseMove);
    b.handler("drywetMouseDown", this, &W::drywetMouseDown);
    b.handler("drywetMouseMove", this, &W::drywetMouseMove);
    b.handler("volMouseDown", this, &W::volMouseDown);
    b.handler("volMouseMove", this, &W::volMouseMove);
    b.handler("randMouseMove", this, &W::randMouseMove);
    b.handler("randMouseUp", this, &W::randMouseUp);
    b.handler("aboutMouseMove", this, &W::aboutMouseMove);
    b.handler("aboutMouseUp", this, &W::aboutMouseUp);
    b.handler("aboutscrClick", this, &W::aboutscrClick);
    b.handler("UpdaterTimer", this, &W::UpdaterTimer);
}

// The about panel waits outside the window in the description.
void TPluginEditorWindow::FormCreate() {
    aboutscr->setLeft(0);
    aboutscr->setTop(28);
}

// ---- Helpers ----------------------------------------------------------------------

void TPluginEditorWindow::setInfo(const std::string& text) { info->setCaption(text); }

// Setters are skipped until the editor has bound the window to its instance.
void TPluginEditorWindow::setParameter(int index, float value) {
    if (fPlugin) fPlugin->setParameter(index, value);
}

// ---- Timer ------------------------------------------------------------------------

void TPluginEditorWindow::placePointer(const Slider& slider) {
    const gui::Image* area = this->*slider.area;
    gui::Image* pointer = this->*slider.pointer;
    const float value = (this->*slider.copy).get();
    if (slider.vertical) {
        pointer->setTop(area->top() + static_cast<int>(scaled(value, area->bounds().height)) - kPointerOffset);
    } else {
        pointer->setLeft(area->left() + static_cast<int>(scaled(value, area->bounds().width)) - kPointerOffset);
    }
}

void TPluginEditorWindow::showWaveformFace(gui::Image* face) {
    saw->setVisible(face == saw);
    squ->setVisible(face == squ);
    noi->setVisible(face == noi);
}

void TPluginEditorWindow::UpdaterTimer() {
    for (const Slider& slider : kSliders) placePointer(slider);
    // Compared in double: a float 0.3 lies just above 0.3 and shows the square.
    const double waveform = fWaveform.get();
    showWaveformFace(waveform < 0.3 ? saw : waveform < 0.6 ? squ : noi);
}

// ---- Sliders --------------------------------------------------------------------

void TPluginEditorWindow::sliderMove(const Slider& slider, gui::ShiftState shift, int x, int y) {
    if (slider.textBeforeChange) setInfo(slider.text((this->*slider.copy).get()));
    // Only a drag with the left button alone moves the slider; keys, other
    // buttons and the second press of a double click leave it be.
    if (shift == gui::kLeftButton) {
        const gui::Image* area = this->*slider.area;
        gui::Image* pointer = this->*slider.pointer;
        const int size = slider.vertical ? area->bounds().height : area->bounds().width;
        const int p = std::clamp(slider.vertical ? y : x, 0, size);
        if (slider.vertical) {
            pointer->setTop(area->top() + p - kPointerOffset);
        } else {
            pointer->setLeft(area->left() + p - kPointerOffset);
        }
        const auto value = static_cast<float>(static_cast<double>(p) / size);
        if (fPlugin) fPlugin->setParameterAutomated(slider.parameter, value);
    }
    // The setter refreshed the copy through the editor object: the text shows
    // the value just sent.
    if (!slider.textBeforeChange) setInfo(slider.text((this->*slider.copy).get()));
}

// A press acts as a move at the same spot, whichever button it was.
void TPluginEditorWindow::morphMouseDown(gui::MouseButton, gui::ShiftState shift, int x, int y) {
    morphMouseMove(shift, x, y);
}
void TPluginEditorWindow::morphMouseMove(gui::ShiftState shift, int x, int y) {
    sliderMove(kSliders[kMorphSlider], shift, x, y);
}
void TPluginEditorWindow::attackMouseDown(gui::MouseButton, gui::ShiftState shift, int x, int y) {
    attackMouseMove(shift, x, y);
}
void TPluginEditorWindow::attackMouseMove(gui::ShiftState shift, int x, int y) {
    sliderMove(kSliders[kAttackSlider], shift, x, y);
}
void TPluginEditorWindow::releaseMouseDown(gui::MouseButton, gui::ShiftState shift, int x, int y) {
    releaseMouseMove(shift, x, y);
}
void TPluginEditorWindow::releaseMouseMove(gui::ShiftState shift, int x, int y) {
    sliderMove(kSliders[kReleaseSlider], shift, x, y);
}
void TPluginEditorWindow::glideMouseDown(gui::MouseButton, gui::ShiftState shift, int x, int y) {
    glideMouseMove(shift, x, y);
}
void TPluginEditorWindow::glideMouseMove(gui::ShiftState shift, int x, int y) {
    sliderMove(kSliders[kGlideSlider], shift, x, y);
}
void TPluginEditorWindow::drywetMouseDown(gui::MouseButton, gui::ShiftState shift, int x, int y) {
    drywetMouseMove(shift, x, y);
}
void TPluginEditorWindow::drywetMouseMove(gui::ShiftState shift, int x, int y) {
    sliderMove(kSliders[kDryWetSlider], shift, x, y);
}
void TPluginEditorWindow::volMouseDown(gui::MouseButton, gui::ShiftState shift, int x, int y) {
    volMouseMove(shift, x, y);
}
void TPluginEditorWindow::volMouseMove(gui::ShiftState shift, int x, int y) {
    sliderMove(kSliders[kVolumeSlider], shift, x, y);
}

// ---- Vowel buttons ------------------------------------------------------------------

void TPluginEditorWindow::vow_aClick() { setParameter(kVowel, 0.0f); }
void TPluginEditorWindow::vow_eClick() { setParameter(kVowel, 0.1f); }
void TPluginEditorWindow::vow_iClick() { setParameter(kVowel, 0.2f); }
void TPluginEditorWindow::vow_oClick() { setParameter(kVowel, 0.3f); }
void TPluginEditorWindow::vow_uClick() { setParameter(kVowel, 0.4f); }

void TPluginEditorWindow::vow_aMouseMove(gui::ShiftState, int, int) { setInfo(vowelText('a')); }
void TPluginEditorWindow::vow_eMouseMove(gui::ShiftState, int, int) { setInfo(vowelText('e')); }
void TPluginEditorWindow::vow_iMouseMove(gui::ShiftState, int, int) { setInfo(vowelText('i')); }
void TPluginEditorWindow::vow_oMouseMove(gui::ShiftState, int, int) { setInfo(vowelText('o')); }
void TPluginEditorWindow::vow_uMouseMove(gui::ShiftState, int, int) { setInfo(vowelText('u')); }

// ---- Waveform switch ------------------------------------------------------------------

// A press with any button on the visible face stores the next waveform in the
// copy first, so the next tick shows the same face, then sends it.
void TPluginEditorWindow::sawMouseDown(gui::MouseButton, gui::ShiftState, int, int) {
    fWaveform.set(0.4f);
    setParameter(kWaveform, fWaveform.get());
    showWaveformFace(squ);
}

void TPluginEditorWindow::squMouseDown(gui::MouseButton, gui::ShiftState, int, int) {
    fWaveform.set(0.8f);
    setParameter(kWaveform, fWaveform.get());
    showWaveformFace(noi);
}

void TPluginEditorWindow::noiMouseDown(gui::MouseButton, gui::ShiftState, int, int) {
    fWaveform.set(0.0f);
    setParameter(kWaveform, fWaveform.get());
    showWaveformFace(saw);
}

void TPluginEditorWindow::squMouseMove(gui::ShiftState, int, int) { setInfo("choose synth waveform"); }

// ---- Randomise, about, background ------------------------------------------------------

// Draws waveform, release, glide, morph time, attack and vowel from the shared
// generator. Dry/wet and volume stay; the host is not told.
void TPluginEditorWindow::randMouseUp(gui::MouseButton, gui::ShiftState, int, int) {
    for (int index = kWaveform; index <= kVowel; ++index) {
        setParameter(index, static_cast<float>(random_source::next()));
    }
}

void TPluginEditorWindow::randMouseMove(gui::ShiftState, int, int) { setInfo("randomize preset!"); }

void TPluginEditorWindow::aboutMouseUp(gui::MouseButton, gui::ShiftState, int, int) {
    aboutscr->setVisible(!aboutscr->visible());
}

void TPluginEditorWindow::aboutMouseMove(gui::ShiftState, int, int) { setInfo("about this freaky plugin!"); }

void TPluginEditorWindow::aboutscrClick() { aboutscr->setVisible(false); }

void TPluginEditorWindow::bgMouseMove(gui::ShiftState, int, int) { setInfo(""); }
