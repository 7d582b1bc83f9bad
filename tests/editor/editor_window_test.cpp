// The editor window driven by mouse scripts over an in-process plug-in: what
// each control sends through which setter, where the pointers go, what the
// info line says, and which control the mouse reaches.

#include <cmath>
#include <string>
#include <vector>

#include "editor_fixture.h"
#include "plugin/random.h"

namespace {

using gui::MouseButton;

struct Point {
    int x;
    int y;
};

// A spot inside each control that no later control covers (about panel hidden).
constexpr Point kBackground{140, 60};
constexpr Point kVowelA{70, 60};
constexpr Point kVowelE{115, 96};
constexpr Point kVowelI{99, 151};
constexpr Point kVowelO{40, 151};
constexpr Point kVowelU{24, 95};
constexpr Point kWaveSwitch{240, 40};
constexpr Point kRandomise{300, 200};
constexpr Point kAboutStrip{300, 10};

// ---- The form as created --------------------------------------------------------

TEST_F(EditorTest, FormIsBuiltFromItsDescriptionWithEveryNameBound) {
    EXPECT_TRUE(window.bindingErrors().empty()) << testing::PrintToString(window.bindingErrors());
    EXPECT_EQ(window.clientWidth(), 339);
    EXPECT_EQ(window.clientHeight(), 220);
    EXPECT_STREQ(TPluginEditorWindow::kCaption, "Orvalune");
    EXPECT_STREQ(window.caption(), "Orvalune");  // what the platform layers name the window
    EXPECT_EQ(infoText(), "information");
    EXPECT_EQ(window.version->caption(), "1.0");
    // FormCreate brought the about panel into the window, still hidden.
    EXPECT_FALSE(window.aboutscr->visible());
    EXPECT_EQ(window.aboutscr->left(), 0);
    EXPECT_EQ(window.aboutscr->top(), 28);
}

TEST(EditorWindowCreation, PointersKeepTheirFormPositionsUntilTheFirstTick) {
    TPluginEditorWindow window;
    EXPECT_EQ(window.pmorph->left(), 200);
    EXPECT_EQ(window.pvol->top(), 86);
    EXPECT_EQ(window.pdrywet->top(), 78);
    EXPECT_TRUE(window.saw->visible());
    EXPECT_FALSE(window.squ->visible());
    EXPECT_FALSE(window.noi->visible());
    // Without a plug-in the controls send nothing and nothing breaks.
    window.mouseDown(MouseButton::Left, gui::kLeftButton, 209, 75);
    window.mouseUp(MouseButton::Left, 0, 209, 75);
    window.mouseUp(MouseButton::Left, 0, kRandomise.x, kRandomise.y);
    EXPECT_EQ(window.pmorph->left(), 205);
}

TEST_F(EditorTest, ControlUnderTheMouseFollowsTheStackingOrder) {
    struct Case {
        Point at;
        const char* control;
    };
    const Case cases[] = {
        {kBackground, "bg"},
        {{181, 72}, "morph"},      // the pointer lies beneath its slider
        {{286, 55}, "pdrywet"},    // the part of the pointer above the slider
        {{240, 32}, "about"},      // the strip covers the top row of the waveform switch
        {{240, 33}, "saw"},
        {{282, 219}, "rand"},      // rand reaches below the window's edge
        {{330, 214}, "version"},   // the label lies above rand
        {{20, 205}, "info"},
        {{100, 5}, "about"},       // the strip lies above the title overlay
    };
    for (const Case& c : cases) {
        const gui::Control* control = window.controlAt(c.at.x, c.at.y);
        ASSERT_NE(control, nullptr) << c.control;
        EXPECT_EQ(control->name(), c.control) << "at " << c.at.x << "," << c.at.y;
    }
    EXPECT_EQ(window.controlAt(339, 100), nullptr);
    EXPECT_EQ(window.controlAt(-1, 100), nullptr);
}

TEST_F(EditorTest, CursorIsTheHandOverControlsThatAct) {
    struct Case {
        Point at;
        gui::Cursor cursor;
    };
    const Case cases[] = {
        {kBackground, gui::Cursor::Arrow}, {kVowelA, gui::Cursor::Hand},      {{200, 75}, gui::Cursor::Hand},
        {{295, 120}, gui::Cursor::Hand},   {kWaveSwitch, gui::Cursor::Hand},    {kRandomise, gui::Cursor::Hand},
        {kAboutStrip, gui::Cursor::Hand},  {{286, 55}, gui::Cursor::Arrow},   {{20, 205}, gui::Cursor::Arrow},
        {{500, 500}, gui::Cursor::Arrow},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(window.cursorAt(c.at.x, c.at.y), c.cursor) << "at " << c.at.x << "," << c.at.y;
    }
}

// ---- Sliders ------------------------------------------------------------------------

struct DragCase {
    const char* slider;
    VstInt32 parameter;
    Point to;  // where the drag goes, in window coordinates
    float value;
    int pointer;  // the pointer's left (horizontal) or top (vertical)
    const char* text;
};

class SliderDrag : public EditorTest, public testing::WithParamInterface<DragCase> {};

TEST_P(SliderDrag, SendsThePositionThroughTheAutomatedSetterAndShowsIt) {
    const DragCase& c = GetParam();
    gui::Control* slider = nullptr;
    for (gui::Control* candidate : {static_cast<gui::Control*>(window.morph), static_cast<gui::Control*>(window.attack),
                                    static_cast<gui::Control*>(window.glide), static_cast<gui::Control*>(window.drywet),
                                    static_cast<gui::Control*>(window.vol)}) {
        if (candidate->name() == c.slider) slider = candidate;
    }
    ASSERT_NE(slider, nullptr);
    const bool vertical = slider->bounds().height > slider->bounds().width;
    const gui::Image* pointer = c.parameter == kMorphTime ? window.pmorph
                                : c.parameter == kAttack  ? window.pattack
                                : c.parameter == kGlide   ? window.pglide
                                : c.parameter == kDryWet  ? window.pdrywet
                                                          : window.pvol;

    press(slider->left() + 5, slider->top() + 5);
    move(c.to.x, c.to.y, gui::kLeftButton);

    ASSERT_FALSE(plugin.setterCalls.empty());
    EXPECT_EQ(plugin.setterCalls.back().index, c.parameter);
    EXPECT_FLOAT_EQ(plugin.setterCalls.back().value, c.value);
    EXPECT_FLOAT_EQ(plugin.getParameter(c.parameter), c.value);
    EXPECT_EQ(vertical ? pointer->top() : pointer->left(), c.pointer);
    EXPECT_EQ(infoText(), c.text);
    // Every step went to the host as automation, with the value sent.
    const auto automation = plugin.automation();
    ASSERT_EQ(automation.size(), plugin.setterCalls.size());
    EXPECT_EQ(automation.back().index, c.parameter);
    EXPECT_FLOAT_EQ(automation.back().opt, c.value);

    release(c.to.x, c.to.y);
    EXPECT_EQ(window.captured(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Editor, SliderDrag,
    testing::Values(
        DragCase{"morph", kMorphTime, {209, 75}, 59.0f / 118.0f, 205, "morph time (ms): 2000"},
        DragCase{"morph", kMorphTime, {151, 75}, 1.0f / 118.0f, 147, "morph time (ms): 34"},
        DragCase{"morph", kMorphTime, {100, 75}, 0.0f, 146, "morph time (ms): 0"},  // past the left end
        DragCase{"morph", kMorphTime, {500, 10}, 1.0f, 264, "morph time (ms): 4000"},  // past the right end
        DragCase{"attack", kAttack, {180, 110}, 30.0f / 118.0f, 176, "attack rate: 25%"},
        DragCase{"attack", kAttack, {268, 110}, 1.0f, 264, "attack rate: 100%"},
        DragCase{"glide", kGlide, {238, 170}, 88.0f / 118.0f, 234, "glide rate: 75%"},
        DragCase{"glide", kGlide, {-40, 170}, 0.0f, 146, "glide rate: 0%"},
        DragCase{"drywet", kDryWet, {295, 58}, 0.0f, 54, "wet/dry mix: 100:0"},
        DragCase{"drywet", kDryWet, {295, 98}, 40.0f / 123.0f, 94, "wet/dry mix: 67:33"},
        DragCase{"drywet", kDryWet, {295, 181}, 1.0f, 177, "wet/dry mix: 0:100"},
        DragCase{"drywet", kDryWet, {295, -100}, 0.0f, 54, "wet/dry mix: 100:0"},
        DragCase{"vol", kVolume, {320, 58}, 0.0f, 54, "output volume: 150%"},
        DragCase{"vol", kVolume, {320, 99}, 41.0f / 123.0f, 95, "output volume: 100%"},
        DragCase{"vol", kVolume, {320, 400}, 1.0f, 177, "output volume: 0%"}));  // past the bottom

TEST_F(EditorTest, SliderMovesOnlyWithTheLeftButtonAlone) {
    const gui::ShiftState states[] = {
        0,
        gui::kLeftButton | gui::kShiftKey,
        gui::kLeftButton | gui::kCtrlKey,
        gui::kLeftButton | gui::kAltKey,
        gui::kLeftButton | gui::kDoubleClick,
        gui::kLeftButton | gui::kRightButton,
        gui::kRightButton,
        gui::kMiddleButton,
    };
    for (gui::ShiftState shift : states) {
        window.info->setCaption("information");
        move(209, 75, shift);
        EXPECT_TRUE(plugin.setterCalls.empty()) << "shift " << shift;
        EXPECT_EQ(window.pmorph->left(), 181) << "shift " << shift;
        EXPECT_EQ(infoText(), "morph time (ms): 1200") << "shift " << shift;
    }
    // A press counts as a move with its shift state, whatever the button.
    press(209, 75, MouseButton::Left, gui::kShiftKey);
    release(209, 75);
    press(209, 75, MouseButton::Right);
    release(209, 75, MouseButton::Right);
    EXPECT_TRUE(plugin.setterCalls.empty());
    EXPECT_TRUE(plugin.automation().empty());
}

TEST_F(EditorTest, SliderTextsRoundHalvesToEven) {
    struct Case {
        VstInt32 parameter;
        float value;
        Point over;
        const char* text;
    };
    const Case cases[] = {
        {kAttack, 0.125f, {200, 110}, "attack rate: 12%"},
        {kRelease, 0.375f, {200, 140}, "release rate: 38%"},
        {kGlide, 0.625f, {200, 170}, "glide rate: 62%"},
        {kMorphTime, 0.3f, {200, 75}, "morph time (ms): 1200"},
        {kDryWet, 0.125f, {295, 120}, "wet/dry mix: 88:12"},
        {kVolume, 0.25f, {320, 120}, "output volume: 112%"},
        {kVolume, 0.75f, {320, 120}, "output volume: 38%"},
    };
    for (const Case& c : cases) {
        hostSets(c.parameter, c.value);
        move(c.over.x, c.over.y);
        EXPECT_EQ(infoText(), c.text);
    }
    EXPECT_TRUE(plugin.setterCalls.empty());
}

TEST_F(EditorTest, ReleaseSliderShowsTheValueFromBeforeEachMouseEvent) {
    // release starts at 0.9; attack, for comparison, at 0.9 too.
    const int steps[] = {150, 209, 268};
    std::vector<std::string> releaseTexts;
    std::vector<std::string> attackTexts;
    press(steps[0], 140);
    releaseTexts.push_back(infoText());
    for (int x : {steps[1], steps[2]}) {
        move(x, 140, gui::kLeftButton);
        releaseTexts.push_back(infoText());
    }
    release(steps[2], 140);
    move(200, 140);  // no button: shows the value now stored
    releaseTexts.push_back(infoText());

    press(steps[0], 110);
    attackTexts.push_back(infoText());
    for (int x : {steps[1], steps[2]}) {
        move(x, 110, gui::kLeftButton);
        attackTexts.push_back(infoText());
    }
    release(steps[2], 110);

    EXPECT_EQ(releaseTexts, (std::vector<std::string>{"release rate: 90%", "release rate: 0%", "release rate: 50%",
                                                      "release rate: 100%"}));
    EXPECT_EQ(attackTexts, (std::vector<std::string>{"attack rate: 0%", "attack rate: 50%", "attack rate: 100%"}));
    EXPECT_FLOAT_EQ(plugin.getParameter(kRelease), 1.0f);
    EXPECT_EQ(window.prelease->left(), 264);
}

TEST_F(EditorTest, LeftPressCapturesTheMouseUntilTheRelease) {
    // A drag that leaves the window keeps working the slider it started on.
    press(209, 75);
    move(-30, 300, gui::kLeftButton);
    EXPECT_FLOAT_EQ(plugin.setterCalls.back().value, 0.0f);
    move(600, -5, gui::kLeftButton);
    EXPECT_FLOAT_EQ(plugin.setterCalls.back().value, 1.0f);
    EXPECT_EQ(window.cursorAt(kBackground.x, kBackground.y), gui::Cursor::Hand);
    release(600, -5);
    move(kVowelA.x, kVowelA.y);
    EXPECT_EQ(infoText(), "morph to vowel \"a\"");

    // A drag that starts on the background does not reach the slider.
    forgetCalls();
    press(kBackground.x, kBackground.y);
    move(209, 75, gui::kLeftButton);
    EXPECT_TRUE(plugin.setterCalls.empty());
    EXPECT_EQ(infoText(), "");
    release(209, 75);
}

TEST_F(EditorTest, TimerPlacesPointersFromTheCopiesRoundingHalvesToEven) {
    struct Case {
        VstInt32 parameter;
        float value;
        gui::Image* TPluginEditorWindow::*pointer;
        bool vertical;
        int expected;
    };
    const Case cases[] = {
        {kMorphTime, 0.25f, &TPluginEditorWindow::pmorph, false, 176},   // 29.5 -> 30
        {kMorphTime, 0.75f, &TPluginEditorWindow::pmorph, false, 234},   // 88.5 -> 88
        {kAttack, 0.0f, &TPluginEditorWindow::pattack, false, 146},
        {kAttack, 1.0f, &TPluginEditorWindow::pattack, false, 264},
        {kRelease, 0.125f, &TPluginEditorWindow::prelease, false, 161},  // 14.75 -> 15
        {kGlide, 0.5f, &TPluginEditorWindow::pglide, false, 205},
        {kDryWet, 0.5f, &TPluginEditorWindow::pdrywet, true, 116},       // 61.5 -> 62
        {kDryWet, 1.0f, &TPluginEditorWindow::pdrywet, true, 177},
        {kVolume, 0.0f, &TPluginEditorWindow::pvol, true, 54},
        {kVolume, 0.5f, &TPluginEditorWindow::pvol, true, 116},
    };
    for (const Case& c : cases) {
        plugin.setParameter(c.parameter, c.value);
        window.timerTick();
        const gui::Image* pointer = window.*c.pointer;
        EXPECT_EQ(c.vertical ? pointer->top() : pointer->left(), c.expected) << "value " << c.value;
    }
}

TEST_F(EditorTest, TimerLeavesTheWindowAloneWhenNothingChanged) {
    window.render();
    window.timerTick();
    EXPECT_FALSE(window.needsRender());
    plugin.setParameter(kGlide, 0.2f);
    EXPECT_FALSE(window.needsRender());  // a parameter change draws nothing by itself
    window.timerTick();
    EXPECT_TRUE(window.needsRender());
}

// ---- Waveform switch ---------------------------------------------------------------

TEST_F(EditorTest, WaveformSwitchCyclesSawSquareNoise) {
    struct Step {
        MouseButton button;
        float sent;
        const char* faceAfter;
    };
    const Step steps[] = {
        {MouseButton::Left, 0.4f, "squ"}, {MouseButton::Left, 0.8f, "noi"},  {MouseButton::Left, 0.0f, "saw"},
        {MouseButton::Right, 0.4f, "squ"}, {MouseButton::Middle, 0.8f, "noi"},
    };
    for (const Step& step : steps) {
        forgetCalls();
        click(kWaveSwitch.x, kWaveSwitch.y, step.button);
        ASSERT_EQ(plugin.setterCalls.size(), 1u);
        EXPECT_EQ(plugin.setterCalls[0].index, kWaveform);
        EXPECT_FLOAT_EQ(plugin.setterCalls[0].value, step.sent);
        EXPECT_EQ(visibleFace(), std::string(step.faceAfter));
        window.timerTick();  // the copy holds the new value: the tick agrees
        EXPECT_EQ(visibleFace(), std::string(step.faceAfter));
    }
    EXPECT_TRUE(plugin.automation().empty());
}

TEST_F(EditorTest, WaveformFaceFollowsTheThresholds) {
    struct Case {
        float value;
        const char* face;
    };
    const Case cases[] = {{0.0f, "saw"}, {0.29f, "saw"}, {0.3f, "squ"}, {0.59f, "squ"}, {0.6f, "noi"}, {1.0f, "noi"}};
    for (const Case& c : cases) {
        hostSets(kWaveform, c.value);
        EXPECT_EQ(visibleFace(), std::string(c.face)) << c.value;
    }
}

// ---- Vowel buttons -----------------------------------------------------------------

TEST_F(EditorTest, VowelClickSendsTheVowelAndChangesNothingInTheWindow) {
    struct Case {
        Point at;
        float value;
    };
    const Case cases[] = {{kVowelA, 0.0f}, {kVowelE, 0.1f}, {kVowelI, 0.2f}, {kVowelO, 0.3f}, {kVowelU, 0.4f}};
    const std::vector<std::uint32_t> before(window.render(), window.render() + 339 * 220);
    for (const Case& c : cases) {
        forgetCalls();
        click(c.at.x, c.at.y);
        ASSERT_EQ(plugin.setterCalls.size(), 1u);
        EXPECT_EQ(plugin.setterCalls[0].index, kVowel);
        EXPECT_FLOAT_EQ(plugin.setterCalls[0].value, c.value);
        EXPECT_TRUE(plugin.automation().empty());
    }
    window.timerTick();
    const std::vector<std::uint32_t> after(window.render(), window.render() + 339 * 220);
    EXPECT_TRUE(before == after);
}

TEST_F(EditorTest, VowelClickNeedsALeftPressAndReleaseOnTheSameButton) {
    press(kVowelA.x, kVowelA.y);
    release(kVowelE.x, kVowelE.y);  // moved off before releasing
    click(kVowelA.x, kVowelA.y, MouseButton::Right);
    click(kVowelA.x, kVowelA.y, MouseButton::Middle);
    EXPECT_TRUE(plugin.setterCalls.empty());

    press(kVowelU.x, kVowelU.y);
    move(200, 200, gui::kLeftButton);
    move(kVowelU.x, kVowelU.y, gui::kLeftButton);
    release(kVowelU.x, kVowelU.y);
    ASSERT_EQ(plugin.setterCalls.size(), 1u);
    EXPECT_FLOAT_EQ(plugin.setterCalls[0].value, 0.4f);
}

// ---- Randomise ----------------------------------------------------------------------

class RandomiseTest : public EditorTest {
protected:
    static constexpr std::uint64_t kSeed = 0x5EED;

    RandomiseTest() {
        hostSets(kDryWet, 0.25f);
        hostSets(kVolume, 0.75f);
        random_source::seed(kSeed);
        for (float& value : expected) value = static_cast<float>(random_source::next());
        random_source::seed(kSeed);
    }

    void expectRandomised() {
        ASSERT_EQ(plugin.setterCalls.size(), 6u);
        for (VstInt32 index = 0; index < 6; ++index) {
            EXPECT_EQ(plugin.setterCalls[index].index, index);
            EXPECT_EQ(plugin.setterCalls[index].value, expected[index]);
            EXPECT_EQ(plugin.getParameter(index), expected[index]);
        }
        EXPECT_EQ(plugin.getParameter(kDryWet), 0.25f);
        EXPECT_EQ(plugin.getParameter(kVolume), 0.75f);
        EXPECT_TRUE(plugin.automation().empty());
    }

    float expected[6] = {};
};

TEST_F(RandomiseTest, ReleaseOnRandDrawsParametersZeroToFive) {
    click(kRandomise.x, kRandomise.y);
    expectRandomised();
    // Pointers and the waveform face follow at the next tick.
    window.timerTick();
    EXPECT_EQ(window.pmorph->left(), 150 + std::lrint(118.0 * expected[kMorphTime]) - 4);
    EXPECT_EQ(visibleFace(), std::string(expected[kWaveform] < 0.3 ? "saw" : expected[kWaveform] < 0.6 ? "squ" : "noi"));
}

TEST_F(RandomiseTest, AnyButtonReleasedOnRandRandomises) {
    release(kRandomise.x, kRandomise.y, MouseButton::Right);
    expectRandomised();
}

TEST_F(RandomiseTest, LeftPressOnRandRandomisesWhereverItIsReleased) {
    press(kRandomise.x, kRandomise.y);
    release(-20, 500);
    expectRandomised();
}

TEST_F(RandomiseTest, LeftReleaseOnRandAfterAPressElsewhereDoesNothing) {
    press(kBackground.x, kBackground.y);
    release(kRandomise.x, kRandomise.y);
    EXPECT_TRUE(plugin.setterCalls.empty());
}

// ---- About strip and panel -------------------------------------------------------------

TEST_F(EditorTest, AboutStripTogglesThePanelAndAClickOnThePanelHidesIt) {
    click(kAboutStrip.x, kAboutStrip.y);
    EXPECT_TRUE(window.aboutscr->visible());
    click(kAboutStrip.x, kAboutStrip.y);
    EXPECT_FALSE(window.aboutscr->visible());
    release(kAboutStrip.x, kAboutStrip.y, MouseButton::Right);
    EXPECT_TRUE(window.aboutscr->visible());
    click(100, 100);
    EXPECT_FALSE(window.aboutscr->visible());
    EXPECT_TRUE(plugin.setterCalls.empty());
}

TEST_F(EditorTest, ShownAboutPanelTakesTheMouseFromTheControlsBeneath) {
    click(kAboutStrip.x, kAboutStrip.y);
    ASSERT_TRUE(window.aboutscr->visible());
    window.info->setCaption("information");

    // Moves over the panel leave the info line alone.
    for (Point p : {kVowelA, kWaveSwitch, Point{200, 75}, Point{100, 30}}) move(p.x, p.y);
    EXPECT_EQ(infoText(), "information");
    EXPECT_EQ(window.cursorAt(200, 75), gui::Cursor::Hand);
    // The strip stays reachable beside the panel.
    move(300, 30);
    EXPECT_EQ(infoText(), "about this freaky plugin!");

    // A right click where a slider lies changes nothing, and a left click there hides the panel.
    click(200, 75, MouseButton::Right);
    EXPECT_TRUE(window.aboutscr->visible());
    click(200, 75);
    EXPECT_FALSE(window.aboutscr->visible());
    EXPECT_TRUE(plugin.setterCalls.empty());
}

TEST_F(EditorTest, VerticalSlidersAndRandStayReachableBesideTheAboutPanel) {
    click(kAboutStrip.x, kAboutStrip.y);
    press(295, 120);
    release(295, 120);
    ASSERT_EQ(plugin.setterCalls.size(), 1u);
    EXPECT_EQ(plugin.setterCalls[0].index, kDryWet);
    click(kRandomise.x, kRandomise.y);
    EXPECT_EQ(plugin.setterCalls.size(), 7u);
    EXPECT_TRUE(window.aboutscr->visible());
}

// ---- Info line -----------------------------------------------------------------------

TEST_F(EditorTest, InfoLineNamesWhatLiesUnderTheMouse) {
    struct Case {
        Point at;
        const char* text;  // null: the line keeps its text
    };
    const Case cases[] = {
        {kBackground, ""},
        {kVowelA, "morph to vowel \"a\""},
        {kVowelE, "morph to vowel \"e\""},
        {kVowelI, "morph to vowel \"i\""},
        {kVowelO, "morph to vowel \"o\""},
        {kVowelU, "morph to vowel \"u\""},
        {kWaveSwitch, "choose synth waveform"},
        {kRandomise, "randomize preset!"},
        {{282, 219}, "randomize preset!"},
        {kAboutStrip, "about this freaky plugin!"},
        {{100, 5}, "about this freaky plugin!"},
        {{286, 55}, nullptr},   // a pointer
        {{20, 205}, nullptr},   // the info label itself
        {{330, 214}, nullptr},  // the version label
        {{400, 100}, nullptr},  // outside the window
    };
    for (const Case& c : cases) {
        window.info->setCaption("information");
        move(c.at.x, c.at.y);
        EXPECT_EQ(infoText(), c.text ? c.text : "information") << "at " << c.at.x << "," << c.at.y;
    }
    EXPECT_TRUE(plugin.setterCalls.empty());
}

TEST_F(EditorTest, WaveformFacesShareOneInfoText) {
    for (float value : {0.0f, 0.5f, 1.0f}) {
        hostSets(kWaveform, value);
        window.info->setCaption("information");
        move(kWaveSwitch.x, kWaveSwitch.y);
        EXPECT_EQ(infoText(), "choose synth waveform") << visibleFace();
    }
}

TEST_F(EditorTest, InfoLabelSizesItselfToItsText) {
    const int informationWidth = window.info->bounds().width;
    EXPECT_GT(informationWidth, 40);
    move(kBackground.x, kBackground.y);
    EXPECT_EQ(window.info->bounds().width, 0);
    move(kRandomise.x, kRandomise.y);
    EXPECT_GT(window.info->bounds().width, informationWidth);
}

}  // namespace
