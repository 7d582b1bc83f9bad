// The bitmaps and fonts that the editor's form description names: the
// artwork of assets/bitmaps and the glyphs rasterised at build time, both
// generated into the build tree (see src/editor/CMakeLists.txt).

#include "editor/plugin_editor_form.h"

extern const gui::EmbeddedBitmap kEditorBitmaps[];
extern const std::size_t kEditorBitmapsCount;
extern const gui::FontFace kSansRegular11;
extern const gui::FontFace kSansItalic9;

namespace {

// The labels ask for Arial; the embedded faces have the same letter widths.
const gui::EmbeddedFont kEditorFonts[] = {
    {"Arial", 11, false, &kSansRegular11},
    {"Arial", 9, true, &kSansItalic9},
};

}  // namespace

const gui::Resources& pluginEditorResources() {
    static const gui::Resources resources{kEditorBitmaps, kEditorBitmapsCount, kEditorFonts,
                                          sizeof(kEditorFonts) / sizeof(kEditorFonts[0])};
    return resources;
}
