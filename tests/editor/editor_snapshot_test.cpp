// orvalune-render --editor-snapshot draws what the editor shows when it
// opens: with the default values its PNG holds the pixels of the reference
// picture of the opened editor.

#include <png.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "editor_snapshot.h"
#include "picture_file.h"

namespace {

TEST(EditorSnapshot, DefaultValuesGiveThePictureOfTheOpenedEditor) {
    const float defaults[8] = {0.0f, 0.9f, 0.9f, 0.3f, 0.9f, 0.0f, 0.0f, 1.0f / 3.0f};
    const std::string path = "editor-snapshot-test.png";
    std::string error;
    ASSERT_TRUE(render::writeEditorSnapshot(defaults, path, error)) << error;

    png_image written{};
    written.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&written, path.c_str()));
    written.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(written));
    ASSERT_TRUE(png_image_finish_read(&written, nullptr, rgb.data(), 0, nullptr));
    std::remove(path.c_str());

    picture_file::Picture reference;
    ASSERT_TRUE(picture_file::read(std::string(ORVALUNE_EDITOR_REFERENCES) + "/opened.png", reference, error)) << error;
    ASSERT_EQ(static_cast<int>(written.width), reference.width);
    ASSERT_EQ(static_cast<int>(written.height), reference.height);
    int differing = 0;
    for (std::size_t i = 0; i < reference.pixels.size(); ++i) {
        const std::uint32_t pixel = (std::uint32_t{rgb[3 * i]} << 16) | (std::uint32_t{rgb[3 * i + 1]} << 8) | rgb[3 * i + 2];
        if (pixel != reference.pixels[i]) ++differing;
    }
    EXPECT_EQ(differing, 0);
}

}  // namespace
