#include "editor/plugin_editor_window.h"

#include "gui/canvas.h"

TPluginEditorWindow::TPluginEditorWindow() : fPixels(kWidth * kHeight) {
    gui::Canvas(fPixels.data(), kWidth, kHeight).fill({0, 0, kWidth, kHeight}, 0x00303438u);
}

TPluginEditorWindow::~TPluginEditorWindow() = default;

void TPluginEditorWindow::UpdaterTimer() {}

const std::uint32_t* TPluginEditorWindow::render() {
    fDirty = false;
    return fPixels.data();
}

void TPluginEditorWindow::mouseDown(gui::MouseButton, gui::ShiftState, int, int) {}
void TPluginEditorWindow::mouseMove(gui::ShiftState, int, int) {}
void TPluginEditorWindow::mouseUp(gui::MouseButton, gui::ShiftState, int, int) {}

gui::Cursor TPluginEditorWindow::cursorAt(int, int) const { return gui::Cursor::Arrow; }
