// The platform layer of a Linux build without libX11 for its target: there
// is no window system to show the editor in, so no window is ever created.

#include "gui/native_window.h"

namespace gui {

std::unique_ptr<NativeWindow> NativeWindow::create(void* /*parent*/, Surface& /*surface*/) { return nullptr; }

}  // namespace gui
