// The editor object: the window's lifecycle (open, close, destruction), its
// size, and the hand-over of parameter values from any thread to the window.

#include "plugin/plugin_editor.h"

#include <thread>

#include "editor/plugin_editor_window.h"
#include "plugin/plugin.h"

namespace {
constexpr VstInt16 kDefaultWidth = 339;
constexpr VstInt16 kDefaultHeight = 220;
}  // namespace

APluginEditor::APluginEditor(APlugin* plugin) : AEffEditor(plugin) {}

APluginEditor::~APluginEditor() {
    if (fWindow.load()) freeWindow();
}

APlugin& APluginEditor::plugin() const {
    // The instance always constructs its editor with itself (the constructor
    // takes an APlugin), so the base's reference is one.
    return *static_cast<APlugin*>(effect);
}

bool APluginEditor::getRect(ERect** rect) {
    fRect.top = 0;
    fRect.left = 0;
    if (const TPluginEditorWindow* window = fWindow.load()) {
        fRect.bottom = static_cast<VstInt16>(window->clientHeight());
        fRect.right = static_cast<VstInt16>(window->clientWidth());
    } else {
        fRect.bottom = kDefaultHeight;
        fRect.right = kDefaultWidth;
    }
    *rect = &fRect;
    return true;
}

bool APluginEditor::open(void* parentWindow) {
    TPluginEditorWindow* window = fWindow.load();
    if (!window) {
        // A new window, from the form's initial state, inside the host's
        // window. When the native window cannot be made (no parent, a parent
        // that is gone, no display) nothing changes and the host hears so:
        // claiming an editor that does not exist would leave the host
        // waiting on a blank area.
        std::unique_ptr<TPluginEditorWindow> created;
        try {
            created = std::make_unique<TPluginEditorWindow>();
            fNativeWindow = gui::NativeWindow::create(parentWindow, *created);
        } catch (...) {  // out of memory: no editor, and nothing may leave through the C interface
            fNativeWindow.reset();
        }
        if (!fNativeWindow) return false;
        copyDisplayedValues(plugin(), *created);
        created->fPlugin = &plugin();
        window = created.release();
        fWindow.store(window);
    }
    fParentWindow = parentWindow;
    ++fOpenCount;
    plugin().fEditorClosed.set(0);

    // The pointers and the waveform face show the current values at once,
    // not only after the first 100 ms tick.
    fNativeWindow->show();
    window->UpdaterTimer();
    fNativeWindow->repaint();
    return true;
}

void APluginEditor::close() {
    if (fWindow.load()) fNativeWindow->hide();
    fOpenCount = fOpenCount > 1 ? fOpenCount - 1 : 0;
    if (fOpenCount == 0) {
        plugin().fEditorClosed.set(1);
        if (fWindow.load()) freeWindow();
        fParentWindow = nullptr;
    }
}

void APluginEditor::idle() {}

void APluginEditor::serviceWindow() {
    if (fNativeWindow) fNativeWindow->idle();
}

// Announce, then look: close() unpublishes the window before it reads the
// counter (both sequentially consistent), so either this call sees no
// window, or close() sees this call and waits for it before freeing.
void APluginEditor::update() {
    if (plugin().fEditorClosed.get()) return;
    fUpdatesRunning.fetch_add(1);
    if (TPluginEditorWindow* window = fWindow.load()) copyDisplayedValues(plugin(), *window);
    fUpdatesRunning.fetch_sub(1);
}

void APluginEditor::copyDisplayedValues(const APlugin& instance, TPluginEditorWindow& window) {
    window.fVolume.set(instance.fVolume.get());
    window.fDryWet.set(instance.fDryWet.get());
    window.fWaveform.set(instance.fWaveform.get());
    window.fRelease.set(instance.fRelease.get());
    window.fGlide.set(instance.fGlide.get());
    window.fMorphTime.set(instance.fMorphTime.get());
    window.fAttack.set(instance.fAttack.get());
}

void APluginEditor::freeWindow() {
    plugin().fEditorClosed.set(1);
    TPluginEditorWindow* window = fWindow.exchange(nullptr);
    // An update() that saw the window is copying seven values; it is short.
    while (fUpdatesRunning.load() != 0) std::this_thread::yield();
    fNativeWindow.reset();
    delete window;
    fParentWindow = nullptr;
}
