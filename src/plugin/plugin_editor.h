// APluginEditor, the plug-in's editor object: the host asks it for the
// editor's size, opens the editor window inside its own window, idles it and
// closes it. Between an open and the matching close it owns one
// TPluginEditorWindow, shown by a native child window of the host's window,
// and keeps the window's copies of the parameter values current.
//
// Threads: getRect, open, close, idle and destruction run on the host's
// user-interface thread, where the window lives. update() runs on any thread,
// the audio thread included: it takes no lock and never touches a window that
// close() or destruction is freeing (see fUpdatesRunning).
#pragma once

#include <atomic>
#include <memory>

#include "gui/native_window.h"
#include "vst/audioeffect.h"

class APlugin;
class TPluginEditorWindow;

class APluginEditor : public AEffEditor {
public:
    // The instance constructs its editor with itself.
    explicit APluginEditor(APlugin* plugin);
    // Frees the window if one is open.
    ~APluginEditor() override;

    // Reports the window's client size (339 by 220) at the origin; answers true.
    bool getRect(ERect** rect) override;
    // Opens (or shows again) the window inside parentWindow. Answers false and
    // changes nothing when no window can be created there.
    bool open(void* parentWindow) override;
    // Hides the window; the close that matches the first open frees it.
    void close() override;
    // Does nothing: the window refreshes itself from its own timer.
    void idle() override;
    // Copies the instance's displayed values into the open window; any thread.
    void update() override;
    // The host's idle call for the native window: events and the timer on X11.
    void serviceWindow() override;

    // Copies the instance's seven displayed values into a window's copies,
    // as every update does (also used to draw the window headless).
    static void copyDisplayedValues(const APlugin& instance, TPluginEditorWindow& window);

protected:
    // ---- Fields, in order -------------------------------------------------
    ERect fRect{};
    VstInt32 fOpenCount = 0;
    // The window; published for update() on other threads, so it is atomic.
    std::atomic<TPluginEditorWindow*> fWindow{nullptr};
    void* fParentWindow = nullptr;

private:
    APlugin& plugin() const;
    // Sets fEditorClosed, unpublishes the window, waits until no update() is
    // still copying into it, then frees it and the native window.
    void freeWindow();

    // The native child window that shows fWindow; UI thread only.
    std::unique_ptr<gui::NativeWindow> fNativeWindow;
    // Number of update() calls that may be looking at fWindow right now.
    std::atomic<int> fUpdatesRunning{0};
};
