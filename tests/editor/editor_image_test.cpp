// The editor window's pixels compared with reference pictures that people
// have looked at: the form as opened, the pointers at both ends, each face of
// the waveform switch and the about panel. On a difference the test writes
// what it drew next to the test program (editor-<name>.actual.png).
// ORVALUNE_UPDATE_REFERENCES=1 writes the references instead.

#include <cstdlib>
#include <string>

#include "editor_fixture.h"
#include "picture_file.h"

namespace {

class EditorImageTest : public EditorTest {
protected:
    void setAll(float waveform, float others) {
        hostSets(kWaveform, waveform);
        for (VstInt32 index : {kRelease, kGlide, kMorphTime, kAttack, kDryWet, kVolume}) hostSets(index, others);
    }

    void expectPicture(const std::string& name) {
        picture_file::Picture actual;
        actual.width = window.width();
        actual.height = window.height();
        const std::uint32_t* pixels = window.render();
        actual.pixels.assign(pixels, pixels + static_cast<std::size_t>(actual.width) * actual.height);

        const std::string reference = std::string(ORVALUNE_EDITOR_REFERENCES) + "/" + name + ".png";
        const char* update = std::getenv("ORVALUNE_UPDATE_REFERENCES");
        if (update != nullptr && std::string(update) == "1") {
            ASSERT_TRUE(picture_file::write(reference, actual)) << reference;
            return;
        }
        picture_file::Picture expected;
        std::string error;
        ASSERT_TRUE(picture_file::read(reference, expected, error)) << error;
        ASSERT_EQ(expected.width, actual.width);
        ASSERT_EQ(expected.height, actual.height);

        int differing = 0;
        int firstX = -1;
        int firstY = -1;
        for (std::size_t i = 0; i < actual.pixels.size(); ++i) {
            if (actual.pixels[i] == expected.pixels[i]) continue;
            if (differing++ == 0) {
                firstX = static_cast<int>(i % static_cast<std::size_t>(actual.width));
                firstY = static_cast<int>(i / static_cast<std::size_t>(actual.width));
            }
        }
        if (differing > 0) picture_file::write("editor-" + name + ".actual.png", actual);
        EXPECT_EQ(differing, 0) << name << ": first difference at " << firstX << "," << firstY
                                << "; the picture drawn is in editor-" << name << ".actual.png";
    }
};

TEST_F(EditorImageTest, AsOpenedWithTheDefaultValues) { expectPicture("opened"); }

TEST_F(EditorImageTest, PointersAtTheLowEnds) {
    setAll(0.0f, 0.0f);
    expectPicture("low-ends");
}

TEST_F(EditorImageTest, PointersAtTheHighEndsWithTheNoiseFace) {
    setAll(1.0f, 1.0f);
    expectPicture("high-ends");
}

TEST_F(EditorImageTest, SquareFaceAndAnInfoText) {
    hostSets(kWaveform, 0.5f);
    window.mouseMove(0, 320, 120);
    expectPicture("square");
}

TEST_F(EditorImageTest, AboutPanelShown) {
    window.mouseUp(gui::MouseButton::Left, 0, 300, 10);
    expectPicture("about");
}

}  // namespace
