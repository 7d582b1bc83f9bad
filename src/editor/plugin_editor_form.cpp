// The editor window's form: every control in stacking order, bottom first.
// Where two controls overlap, the later one is drawn over the earlier one and
// receives the mouse: the six slider areas lie above their pointers, the about
// panel above everything it covers. `aboutscr` stands outside the window
// until FormCreate moves it in; `rand` reaches 5 pixels below the window.

#include "editor/plugin_editor_form.h"

namespace {

constexpr auto Arrow = gui::Cursor::Arrow;
constexpr auto Hand = gui::Cursor::Hand;
constexpr bool Shown = true;
constexpr bool Hidden = false;
constexpr bool Running = true;

// The labels' text: light green on whatever lies beneath.
constexpr gui::FontSpec kInfoFont{"Arial", 11, false, 0x80FF80};
constexpr gui::FontSpec kVersionFont{"Arial", 9, true, 0x80FF80};

using gui::image;
using gui::kNoBitmap;
using gui::label;
using gui::opaque;
using gui::timer;
using gui::transparent;

}  // namespace

// clang-format off
const gui::ControlDescription kPluginEditorForm[] = {
    //          name          left  top  width height cursor shown   bitmap
    image("bg",             0,    0,  339,  220, Arrow, Shown,  opaque("background"))
        .mouseMove("bgMouseMove"),
    image("pvol",         310,   86,   11,   15, Arrow, Shown,  transparent("pointer_v")),
    image("vow_a",         56,   46,   29,   29, Hand,  Shown,  kNoBitmap)
        .click("vow_aClick").mouseMove("vow_aMouseMove"),
    image("vow_e",        101,   82,   29,   29, Hand,  Shown,  kNoBitmap)
        .click("vow_eClick").mouseMove("vow_eMouseMove"),
    image("vow_i",         85,  137,   29,   29, Hand,  Shown,  kNoBitmap)
        .click("vow_iClick").mouseMove("vow_iMouseMove"),
    image("vow_o",         26,  137,   29,   29, Hand,  Shown,  kNoBitmap)
        .click("vow_oClick").mouseMove("vow_oMouseMove"),
    image("vow_u",         10,   81,   29,   29, Hand,  Shown,  kNoBitmap)
        .click("vow_uClick").mouseMove("vow_uMouseMove"),
    image("prelease",     200,  134,   16,   10, Arrow, Shown,  transparent("pointer_h")),
    label("info",          16,  200,   53,   14, Arrow, Shown,  "information", kInfoFont),
    image("pattack",      200,  102,   16,   10, Arrow, Shown,  transparent("pointer_h")),
    image("filterlogo",    83,    0,   94,   25, Arrow, Shown,  opaque("title")),
    image("pdrywet",      284,   78,   11,   15, Arrow, Shown,  transparent("pointer_v")),
    image("pmorph",       200,   70,   16,   10, Arrow, Shown,  transparent("pointer_h")),
    image("pglide",       200,  166,   16,   10, Arrow, Shown,  transparent("pointer_h")),
    image("noi",          221,   32,   47,   22, Hand,  Hidden, opaque("wave_noise"))
        .mouseDown("noiMouseDown").mouseMove("squMouseMove"),
    image("saw",          221,   32,   47,   22, Hand,  Shown,  opaque("wave_saw"))
        .mouseDown("sawMouseDown").mouseMove("squMouseMove"),
    image("squ",          221,   32,   47,   22, Hand,  Hidden, opaque("wave_square"))
        .mouseDown("squMouseDown").mouseMove("squMouseMove"),
    image("morph",        150,   70,  118,   17, Hand,  Shown,  kNoBitmap)
        .mouseDown("morphMouseDown").mouseMove("morphMouseMove"),
    image("drywet",       288,   58,   14,  123, Hand,  Shown,  kNoBitmap)
        .mouseDown("drywetMouseDown").mouseMove("drywetMouseMove"),
    image("attack",       150,  102,  118,   17, Hand,  Shown,  kNoBitmap)
        .mouseDown("attackMouseDown").mouseMove("attackMouseMove"),
    image("release",      150,  134,  118,   17, Hand,  Shown,  kNoBitmap)
        .mouseDown("releaseMouseDown").mouseMove("releaseMouseMove"),
    image("glide",        150,  166,  118,   17, Hand,  Shown,  kNoBitmap)
        .mouseDown("glideMouseDown").mouseMove("glideMouseMove"),
    image("vol",          314,   58,   14,  123, Hand,  Shown,  kNoBitmap)
        .mouseDown("volMouseDown").mouseMove("volMouseMove"),
    image("rand",         280,  192,   49,   33, Hand,  Shown,  kNoBitmap)
        .mouseMove("randMouseMove").mouseUp("randMouseUp"),
    image("about",          0,    0,  337,   33, Hand,  Shown,  kNoBitmap)
        .mouseMove("aboutMouseMove").mouseUp("aboutMouseUp"),
    image("aboutscr",     500,   28,  281,  165, Hand,  Hidden, opaque("about"))
        .click("aboutscrClick"),
    label("version",      324,  208,   13,   12, Arrow, Shown,  "1.0", kVersionFont),
    timer("Updater", 100, Running)
        .timer("UpdaterTimer"),
};
// clang-format on

const std::size_t kPluginEditorFormSize = sizeof(kPluginEditorForm) / sizeof(kPluginEditorForm[0]);
