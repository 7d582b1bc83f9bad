// The window toolkit on its own: BMP decoding, transparent drawing, building a
// form from a description, and the routing of mouse input (hit-testing,
// capture, click) on a small form of two overlapping areas.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gui/bitmap.h"
#include "gui/canvas.h"
#include "gui/form.h"

namespace {

// ---- BMP decoding -----------------------------------------------------------------

void put16(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// A BMP file of `width` x `height` with the given bits per pixel; `rows` are
// the stored rows (bottom-up unless `topDown`), each padded by this function.
std::vector<std::uint8_t> makeBmp(int width, int height, unsigned bits, const std::vector<std::uint32_t>& palette,
                                  const std::vector<std::vector<std::uint8_t>>& rows, bool topDown = false,
                                  std::uint32_t compression = 0) {
    std::vector<std::uint8_t> pixels;
    const std::size_t rowBytes = ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
    for (const auto& row : rows) {
        std::vector<std::uint8_t> padded = row;
        padded.resize(rowBytes, 0);
        pixels.insert(pixels.end(), padded.begin(), padded.end());
    }
    const std::uint32_t offset = 14 + 40 + static_cast<std::uint32_t>(palette.size()) * 4;
    std::vector<std::uint8_t> file = {'B', 'M'};
    put32(file, offset + static_cast<std::uint32_t>(pixels.size()));
    put32(file, 0);
    put32(file, offset);
    put32(file, 40);
    put32(file, static_cast<std::uint32_t>(width));
    put32(file, static_cast<std::uint32_t>(topDown ? -height : height));
    put16(file, 1);
    put16(file, bits);
    put32(file, compression);
    put32(file, static_cast<std::uint32_t>(pixels.size()));
    put32(file, 2835);
    put32(file, 2835);
    put32(file, static_cast<std::uint32_t>(palette.size()));
    put32(file, 0);
    for (std::uint32_t rgb : palette) put32(file, rgb);  // stored as blue, green, red, 0
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

const std::vector<std::uint32_t> kPalette = {0x020202, 0xFF0000, 0x00FF00, 0x0000FF};

TEST(Bmp, DecodesPaletteAndTrueColourFilesInBothRowOrders) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> file;
    };
    // The picture: top row red, green, blue; bottom row key, key, red.
    const Case cases[] = {
        {"8-bit bottom-up", makeBmp(3, 2, 8, kPalette, {{0, 0, 1}, {1, 2, 3}})},
        {"8-bit top-down", makeBmp(3, 2, 8, kPalette, {{1, 2, 3}, {0, 0, 1}}, true)},
        {"4-bit", makeBmp(3, 2, 4, kPalette, {{0x00, 0x10}, {0x12, 0x30}})},
        {"1-bit pairs", makeBmp(3, 2, 1, {0x020202, 0xFF0000}, {{0x20}, {0xE0}})},
        {"24-bit", makeBmp(3, 2, 24, {},
                           {{2, 2, 2, 2, 2, 2, 0, 0, 0xFF}, {0, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0}})},
    };
    for (const Case& c : cases) {
        gui::Bitmap bitmap;
        ASSERT_TRUE(gui::decodeBmp(c.file.data(), c.file.size(), bitmap)) << c.name;
        ASSERT_EQ(bitmap.width, 3);
        ASSERT_EQ(bitmap.height, 2);
        EXPECT_EQ(bitmap.bottomLeft(), 0x020202u) << c.name;
        EXPECT_EQ(bitmap.pixel(2, 1), 0xFF0000u) << c.name;
        EXPECT_EQ(bitmap.pixel(0, 0), 0xFF0000u) << c.name;
        if (std::string(c.name) != "1-bit pairs") {
            EXPECT_EQ(bitmap.pixel(1, 0), 0x00FF00u) << c.name;
            EXPECT_EQ(bitmap.pixel(2, 0), 0x0000FFu) << c.name;
        }
    }
}

TEST(Bmp, RejectsDamagedOrUnsupportedFiles) {
    const auto good = makeBmp(3, 2, 8, kPalette, {{0, 0, 1}, {1, 2, 3}});
    auto truncated = good;
    truncated.resize(truncated.size() - 1);
    auto badMagic = good;
    badMagic[0] = 'X';
    auto hugeOffset = good;
    hugeOffset[10] = 0xFF;
    hugeOffset[11] = 0xFF;
    struct Case {
        const char* name;
        std::vector<std::uint8_t> file;
    };
    const Case cases[] = {
        {"cut short", truncated},
        {"not a BMP", badMagic},
        {"pixels beyond the end", hugeOffset},
        {"run-length compressed", makeBmp(3, 2, 8, kPalette, {{0, 0, 1}, {1, 2, 3}}, false, 1)},
        {"index beyond the palette", makeBmp(3, 2, 8, kPalette, {{0, 0, 9}, {1, 2, 3}})},
        {"16 bits per pixel", makeBmp(3, 2, 16, {}, {{0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}})},
        {"no width", makeBmp(0, 2, 8, kPalette, {{}, {}})},
        {"header only", std::vector<std::uint8_t>(good.begin(), good.begin() + 30)},
    };
    for (const Case& c : cases) {
        gui::Bitmap bitmap;
        EXPECT_FALSE(gui::decodeBmp(c.file.data(), c.file.size(), bitmap)) << c.name;
        EXPECT_TRUE(bitmap.pixels.empty()) << c.name;
    }
    gui::Bitmap bitmap;
    EXPECT_FALSE(gui::decodeBmp(nullptr, 0, bitmap));
}

TEST(Canvas, TransparentBitmapSkipsItsBottomLeftColourAndStaysInsideTheClip) {
    gui::Bitmap bitmap;
    const auto file = makeBmp(3, 2, 8, kPalette, {{0, 0, 1}, {1, 0, 3}});  // key also in the top row
    ASSERT_TRUE(gui::decodeBmp(file.data(), file.size(), bitmap));
    std::vector<std::uint32_t> pixels(5 * 4, 0xABCDEF);
    gui::Canvas canvas(pixels.data(), 5, 4);
    canvas.drawBitmap(bitmap, 1, 1, {1, 1, 2, 3}, true);  // clipped to two columns
    const std::vector<std::uint32_t> expected = {
        0xABCDEF, 0xABCDEF, 0xABCDEF, 0xABCDEF, 0xABCDEF,  //
        0xABCDEF, 0xFF0000, 0xABCDEF, 0xABCDEF, 0xABCDEF,  // key at (1,0) left alone, blue clipped
        0xABCDEF, 0xABCDEF, 0xABCDEF, 0xABCDEF, 0xABCDEF,  // key, key
        0xABCDEF, 0xABCDEF, 0xABCDEF, 0xABCDEF, 0xABCDEF,
    };
    EXPECT_EQ(pixels, expected);
    canvas.drawBitmap(bitmap, -2, 3, {0, 0, 5, 4}, false);  // partly outside the canvas
    EXPECT_EQ(pixels[15], 0x0000FFu);
}

// ---- Mouse routing ------------------------------------------------------------------

// Two areas: `low` at (0,0) 20x20 and `high` above it at (10,10) 20x20, and a
// hidden `ghost` on top of both.
class RoutingTest : public testing::Test {
protected:
    RoutingTest() : form(40, 40, 0xFFFFFF) {
        gui::Bindings b;
        b.reference("low", low);
        b.reference("high", high);
        b.reference("ghost", ghost);
        b.handler("lowDown", this, &RoutingTest::lowDown);
        b.handler("lowMove", this, &RoutingTest::lowMove);
        b.handler("lowUp", this, &RoutingTest::lowUp);
        b.handler("lowClick", this, &RoutingTest::lowClick);
        b.handler("highMove", this, &RoutingTest::highMove);
        b.handler("highClick", this, &RoutingTest::highClick);
        b.handler("ghostMove", this, &RoutingTest::ghostMove);
        const gui::ControlDescription description[] = {
            gui::image("low", 0, 0, 20, 20, gui::Cursor::Hand, true, gui::kNoBitmap)
                .mouseDown("lowDown").mouseMove("lowMove").mouseUp("lowUp").click("lowClick"),
            gui::image("high", 10, 10, 20, 20, gui::Cursor::Arrow, true, gui::kNoBitmap)
                .mouseMove("highMove").click("highClick"),
            gui::image("ghost", 0, 0, 40, 40, gui::Cursor::Hand, false, gui::kNoBitmap).mouseMove("ghostMove"),
        };
        form.build(description, 3, b, gui::Resources{nullptr, 0, nullptr, 0});
    }

    void lowDown(gui::MouseButton, gui::ShiftState, int x, int y) { log("low down", x, y); }
    void lowMove(gui::ShiftState, int x, int y) { log("low move", x, y); }
    void lowUp(gui::MouseButton, gui::ShiftState, int x, int y) { log("low up", x, y); }
    void lowClick() { events.push_back("low click"); }
    void highMove(gui::ShiftState, int x, int y) { log("high move", x, y); }
    void highClick() { events.push_back("high click"); }
    void ghostMove(gui::ShiftState, int x, int y) { log("ghost move", x, y); }
    void log(const std::string& event, int x, int y) {
        events.push_back(event + " " + std::to_string(x) + "," + std::to_string(y));
    }

    gui::Form form;
    gui::Image* low = nullptr;
    gui::Image* high = nullptr;
    gui::Image* ghost = nullptr;
    std::vector<std::string> events;
};

using Events = std::vector<std::string>;

TEST_F(RoutingTest, EventsGoToTheTopmostShownControlInItsOwnCoordinates) {
    EXPECT_TRUE(form.bindingErrors().empty());
    form.mouseMove(0, 5, 5);
    form.mouseMove(0, 15, 15);
    form.mouseMove(0, 35, 35);  // nothing there
    EXPECT_EQ(events, (Events{"low move 5,5", "high move 5,5"}));
    EXPECT_EQ(form.cursorAt(5, 5), gui::Cursor::Hand);
    EXPECT_EQ(form.cursorAt(15, 15), gui::Cursor::Arrow);
    EXPECT_EQ(form.cursorAt(35, 35), gui::Cursor::Arrow);
}

TEST_F(RoutingTest, LeftPressCapturesUntilReleaseAndClicksWhenReleasedInside) {
    form.mouseDown(gui::MouseButton::Left, gui::kLeftButton, 5, 5);
    form.mouseMove(gui::kLeftButton, 15, 15);  // over high, still low's
    form.mouseMove(gui::kLeftButton, -7, 50);  // outside the window
    EXPECT_EQ(form.cursorAt(15, 15), gui::Cursor::Hand);
    form.mouseUp(gui::MouseButton::Left, 0, 8, 9);
    form.mouseMove(0, 15, 15);  // capture over: high again
    EXPECT_EQ(events, (Events{"low down 5,5", "low move 15,15", "low move -7,50", "low click", "low up 8,9",
                              "high move 5,5"}));
}

TEST_F(RoutingTest, ReleaseOutsideThePressedControlIsNoClick) {
    form.mouseDown(gui::MouseButton::Left, gui::kLeftButton, 5, 5);
    form.mouseUp(gui::MouseButton::Left, 0, 15, 15);  // over high, which low lies beneath
    form.mouseDown(gui::MouseButton::Left, gui::kLeftButton, 15, 15);
    form.mouseUp(gui::MouseButton::Left, 0, 5, 5);
    EXPECT_EQ(events, (Events{"low down 5,5", "low up 15,15"}));
}

TEST_F(RoutingTest, OtherButtonsNeitherCaptureNorClick) {
    form.mouseDown(gui::MouseButton::Right, gui::kRightButton, 5, 5);
    form.mouseMove(gui::kRightButton, 15, 15);
    form.mouseUp(gui::MouseButton::Right, 0, 15, 15);
    form.mouseDown(gui::MouseButton::Middle, gui::kMiddleButton, 5, 5);
    form.mouseUp(gui::MouseButton::Middle, 0, 5, 5);
    EXPECT_EQ(events, (Events{"low down 5,5", "high move 5,5", "low down 5,5", "low up 5,5"}));
    EXPECT_EQ(form.captured(), nullptr);
}

TEST_F(RoutingTest, ButtonsPressedDuringACaptureGoToTheCapturingControl) {
    form.mouseDown(gui::MouseButton::Left, gui::kLeftButton, 5, 5);
    form.mouseDown(gui::MouseButton::Right, gui::kLeftButton | gui::kRightButton, 15, 15);
    form.mouseUp(gui::MouseButton::Right, gui::kLeftButton, 15, 15);
    EXPECT_EQ(form.captured(), low);
    form.mouseUp(gui::MouseButton::Left, 0, 5, 5);
    EXPECT_EQ(events, (Events{"low down 5,5", "low down 15,15", "low up 15,15", "low click", "low up 5,5"}));
}

// A capture whose release never comes (the window was hidden mid-drag, or
// another window took the mouse) must not keep the mouse from the controls.
TEST_F(RoutingTest, CaptureEndsWhenItsReleaseIsLost) {
    form.mouseDown(gui::MouseButton::Left, gui::kLeftButton, 5, 5);
    form.mouseCaptureLost();
    EXPECT_EQ(form.captured(), nullptr);
    form.mouseMove(0, 15, 15);
    form.mouseUp(gui::MouseButton::Right, 0, 15, 15);  // not low's, whose press was cut off

    // No word from the platform: the next left press shows the release was lost.
    form.mouseDown(gui::MouseButton::Left, gui::kLeftButton, 5, 5);
    form.mouseDown(gui::MouseButton::Left, gui::kLeftButton, 15, 15);
    EXPECT_EQ(form.captured(), high);
    form.mouseUp(gui::MouseButton::Left, 0, 15, 15);
    EXPECT_EQ(events, (Events{"low down 5,5", "high move 5,5", "low down 5,5", "high click"}));
}

TEST_F(RoutingTest, ShowingAControlPutsItOnTopForTheMouseAndTheRenderer) {
    form.render();
    EXPECT_FALSE(form.needsRender());
    ghost->setVisible(true);
    EXPECT_TRUE(form.needsRender());
    form.mouseMove(0, 5, 5);
    EXPECT_EQ(events, (Events{"ghost move 5,5"}));
    high->setLeft(12);
    ghost->setVisible(false);
    form.render();
    high->setLeft(12);  // no change, nothing to draw
    EXPECT_FALSE(form.needsRender());
}

TEST(FormBuild, UnresolvedNamesAreReportedAndTheRestIsBuilt) {
    struct Owner {
        void click() {}
        void move(gui::ShiftState, int, int) {}
        gui::Image* known = nullptr;
    } owner;
    gui::Bindings b;
    b.reference("known", owner.known);
    b.handler("click", &owner, &Owner::click);
    b.handler("move", &owner, &Owner::move);
    const gui::ControlDescription description[] = {
        gui::image("known", 0, 0, 5, 5, gui::Cursor::Arrow, true, gui::opaque("missing")).click("clack"),
        gui::image("unreferenced", 0, 0, 5, 5, gui::Cursor::Arrow, true, gui::kNoBitmap).mouseMove("click"),
        gui::label("text", 0, 0, 5, 5, gui::Cursor::Arrow, true, "x", {"Nowhere", 11, false, 0}),
    };
    gui::Form form(10, 10, 0);
    form.build(description, 3, b, gui::Resources{nullptr, 0, nullptr, 0});
    EXPECT_EQ(form.bindingErrors(),
              (std::vector<std::string>{"bitmap missing", "handler clack of known", "reference unreferenced",
                                        "handler click of unreferenced", "font of text", "reference text"}));
    EXPECT_NE(owner.known, nullptr);
    form.render();  // controls without bitmap or font draw nothing, and nothing breaks
}

}  // namespace
