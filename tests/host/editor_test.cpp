// The editor as a host drives it through the binary interface: size, open and
// close in a window of the host's own, idle, parameter changes from other
// threads, failures to open, and the library loaded and unloaded repeatedly.
// The tests that open windows need a window system: scripts run them with an
// Xvfb server of their own (and under wine for the Windows build).

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#endif

#include "host_fixture.h"
#include "host_window.h"

#if !defined(_WIN32) && ORVALUNE_NATIVE_WINDOWS
#include <X11/Xlib.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kEditorWidth = 339;
constexpr int kEditorHeight = 220;

VstIntPtr openEditor(host::PluginInstance& plugin, void* parent) { return plugin.dispatch(effEditOpen, 0, 0, parent); }
VstIntPtr closeEditor(host::PluginInstance& plugin) { return plugin.dispatch(effEditClose); }

ERect requestRect(host::PluginInstance& plugin, VstIntPtr* answer = nullptr) {
    ERect* rect = nullptr;
    const VstIntPtr result = plugin.dispatch(effEditGetRect, 0, 0, &rect);
    if (answer) *answer = result;
    return rect ? *rect : ERect{-1, -1, -1, -1};
}

// ---- Requests that need no window ------------------------------------------------

TEST(EditorRequests, RectBeforeAnyOpenIsTheWindowSize) {
    auto plugin = openInstance();
    VstIntPtr answer = 0;
    const ERect rect = requestRect(*plugin, &answer);
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.bottom, kEditorHeight);
    EXPECT_EQ(rect.right, kEditorWidth);
}

// No parent window: nothing can be shown, and the host hears so; the editor
// stays closed and every other request keeps working.
TEST(EditorRequests, OpenWithoutParentFailsAndChangesNothing) {
    auto plugin = openInstance();
    EXPECT_EQ(closeEditor(*plugin), 0);  // close without open is harmless
    EXPECT_EQ(openEditor(*plugin, nullptr), 0);
    EXPECT_EQ(plugin->dispatch(effEditIdle), 0);
    EXPECT_EQ(closeEditor(*plugin), 0);
    plugin->setParameter(kVolume, 0.25f);
    EXPECT_EQ(plugin->getParameter(kVolume), 0.25f);
    EXPECT_EQ(requestRect(*plugin).right, kEditorWidth);
    EXPECT_EQ(plugin->close(), 1);
}

// ---- With a host window ------------------------------------------------------------

#if ORVALUNE_NATIVE_WINDOWS

enum class Mouse { LeftDown, LeftUp, MoveLeftHeld };

// Mouse input for a child window of the editor at (x, y) in it, as the window
// system delivers it: a message on Windows (handled at once), an event on
// X11 (handled at the next effEditIdle).
void sendMouse(std::uintptr_t child, Mouse what, int x, int y) {
#if defined(_WIN32)
    const HWND window = reinterpret_cast<HWND>(child);
    const LPARAM position = MAKELPARAM(x, y);
    switch (what) {
        case Mouse::LeftDown: SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, position); break;
        case Mouse::LeftUp: SendMessageA(window, WM_LBUTTONUP, 0, position); break;
        case Mouse::MoveLeftHeld: SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, position); break;
    }
#else
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    const auto window = static_cast<Window>(child);
    XEvent event = {};
    long mask = 0;
    if (what == Mouse::MoveLeftHeld) {
        XMotionEvent& motion = event.xmotion;
        motion.type = MotionNotify;
        motion.window = window;
        motion.x = x;
        motion.y = y;
        motion.state = Button1Mask;
        motion.same_screen = True;
        mask = PointerMotionMask;
    } else {
        XButtonEvent& button = event.xbutton;
        button.type = what == Mouse::LeftDown ? ButtonPress : ButtonRelease;
        button.window = window;
        button.x = x;
        button.y = y;
        button.button = Button1;
        button.state = what == Mouse::LeftUp ? Button1Mask : 0;  // the state before the event
        button.same_screen = True;
        mask = what == Mouse::LeftDown ? ButtonPressMask : ButtonReleaseMask;
    }
    XSendEvent(display, window, False, mask, &event);
    XSync(display, False);
    XCloseDisplay(display);
#endif
}

#endif

// One host window for the tests that leave it standing: under wine without a
// window manager, hiding a top-level window waits two seconds for a manager.
HostWindow& sharedHostWindow() {
    static HostWindow window;
    return window;
}

class Editor : public ::testing::Test {
protected:
    void SetUp() override {
        if (!ORVALUNE_NATIVE_WINDOWS) GTEST_SKIP() << "this build's plug-in opens no windows";
        ASSERT_TRUE(window.ok()) << window.error();
    }

    // One round of the host's idle: its message loop and effEditIdle.
    void idle() {
        window.pump();
        plugin->dispatch(effEditIdle);
        window.pump();
    }

    // Idles until `done` holds or the deadline passes; answers `done()`.
    template <typename Predicate>
    bool idleUntil(Predicate done, std::chrono::milliseconds deadline = std::chrono::seconds(10)) {
        const auto end = Clock::now() + deadline;
        while (!done()) {
            if (Clock::now() > end) return false;
            idle();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }

    std::vector<HostWindow::Child> children() { return window.children(); }

    HostWindow& window = sharedHostWindow();
    std::unique_ptr<host::PluginInstance> plugin = openInstance();
};

TEST_F(Editor, RectWhileOpenAndAfterClose) {
    ASSERT_EQ(openEditor(*plugin, window.handle()), 1);
    for (int phase = 0; phase < 2; ++phase) {
        VstIntPtr answer = 0;
        const ERect rect = requestRect(*plugin, &answer);
        EXPECT_EQ(answer, 1);
        EXPECT_EQ(rect.top, 0);
        EXPECT_EQ(rect.left, 0);
        EXPECT_EQ(rect.bottom, kEditorHeight) << "phase " << phase;
        EXPECT_EQ(rect.right, kEditorWidth) << "phase " << phase;
        closeEditor(*plugin);
    }
}

// open, open, close, close, close, open: the window is created once, shown at
// the host window's top-left corner, hidden but kept by the first close,
// freed by the second; a later open builds a new one.
TEST_F(Editor, OpenOpenCloseClose) {
    EXPECT_TRUE(children().empty());

    ASSERT_EQ(openEditor(*plugin, window.handle()), 1);
    auto shown = children();
    ASSERT_EQ(shown.size(), 1u);
    const HostWindow::Child first = shown[0];
    EXPECT_TRUE(first.visible);
    EXPECT_EQ(first.x, 0);
    EXPECT_EQ(first.y, 0);
    EXPECT_EQ(first.width, kEditorWidth);
    EXPECT_EQ(first.height, kEditorHeight);

    ASSERT_EQ(openEditor(*plugin, window.handle()), 1);
    shown = children();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].id, first.id) << "a second open builds no second window";
    EXPECT_TRUE(shown[0].visible);

    EXPECT_EQ(closeEditor(*plugin), 0);
    shown = children();
    ASSERT_EQ(shown.size(), 1u) << "the first close keeps the window";
    EXPECT_EQ(shown[0].id, first.id);
    EXPECT_FALSE(shown[0].visible);

    ASSERT_EQ(openEditor(*plugin, window.handle()), 1);
    shown = children();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].id, first.id) << "an open in between shows the same window again";
    EXPECT_TRUE(shown[0].visible);

    closeEditor(*plugin);
    closeEditor(*plugin);
    EXPECT_TRUE(children().empty()) << "the last close frees the window";
    closeEditor(*plugin);
    EXPECT_TRUE(children().empty());

    ASSERT_EQ(openEditor(*plugin, window.handle()), 1);
    shown = children();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].visible);
    idle();
    closeEditor(*plugin);
    EXPECT_TRUE(children().empty());
}

// Parents that cannot hold a window: the open answers 0, creates nothing and
// leaves the editor closed (one open and one close afterwards free the
// window again), and the host process lives on. A pointer to a zeroed buffer
// is what a careless host sends for every request (on X11 a bogus id).
TEST_F(Editor, OpenIntoMissingParentFailsAndStaysClosed) {
    std::vector<char> zeroes(512, 0);
    struct Case {
        const char* name;
        void* parent;
    } cases[] = {
        {"null", nullptr},
        {"destroyed window", window.goneWindow()},
        {"pointer to a zeroed buffer", zeroes.data()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(openEditor(*plugin, c.parent), 0);
        idle();
        EXPECT_TRUE(children().empty());
        ASSERT_EQ(openEditor(*plugin, window.handle()), 1);
        EXPECT_EQ(children().size(), 1u);
        closeEditor(*plugin);
        EXPECT_TRUE(children().empty()) << "the failed open must not count";
    }
}

// The host destroys its window before it closes the editor (the editor's
// window goes with it): idling, parameter changes, close and effClose carry
// on without touching what is gone.
TEST_F(Editor, HostWindowDestroyedBeforeClose) {
    HostWindow own;
    ASSERT_EQ(openEditor(*plugin, own.handle()), 1);
    idle();
    own.destroy();
    for (int i = 0; i < 3; ++i) {
        plugin->dispatch(effEditIdle);
        plugin->setParameter(kGlide, 0.1f * static_cast<float>(i));
    }
    closeEditor(*plugin);
    EXPECT_EQ(plugin->dispatch(effEditIdle), 0);
    EXPECT_EQ(plugin->close(), 1);
}

TEST_F(Editor, EffCloseWithTheWindowOpenFreesIt) {
    ASSERT_EQ(openEditor(*plugin, window.handle()), 1);
    idle();
    ASSERT_EQ(children().size(), 1u);
    EXPECT_EQ(plugin->close(), 1);
    window.pump();
    EXPECT_TRUE(children().empty());
}

// A hundred cycles leave no window, no connection or handle and (under
// AddressSanitizer) no memory behind.
TEST_F(Editor, HundredOpenCloseCycles) {
    ASSERT_EQ(openEditor(*plugin, window.handle()), 1);  // first use: the window class, libraries
    idle();
    closeEditor(*plugin);
    const long handlesBefore = HostWindow::processHandles();
    for (int cycle = 0; cycle < 100; ++cycle) {
        ASSERT_EQ(openEditor(*plugin, window.handle()), 1) << "cycle " << cycle;
        idle();
        plugin->setParameter(kVolume, static_cast<float>(cycle) / 100.0f);
        closeEditor(*plugin);
    }
    window.pump();
    EXPECT_TRUE(children().empty());
    EXPECT_EQ(HostWindow::processHandles(), handlesBefore);
}

// Parameter changes on an audio thread (each refreshing the window's copies)
// while the user-interface thread opens, idles and closes the editor and
// switches programs. Under ThreadSanitizer this proves the hand-over
// race-free; under AddressSanitizer that no update touches a freed window.
TEST_F(Editor, OpenAndCloseWhileAnotherThreadProcessesAndAutomates) {
    plugin->dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    plugin->dispatch(effSetBlockSize, 0, 64);
    plugin->dispatch(effMainsChanged, 0, 1);
    std::atomic<bool> stop{false};
    std::atomic<long> changes{0};
    std::thread audio([&] {
        std::vector<float> left(64, 0.1f), right(64, -0.1f), outLeft(64), outRight(64);
        float* inputs[] = {left.data(), right.data()};
        float* outputs[] = {outLeft.data(), outRight.data()};
        long n = 0;
        while (!stop.load()) {
            plugin->setParameter(static_cast<VstInt32>(n % kParamCount), static_cast<float>(n % 101) / 100.0f);
            plugin->processReplacing(inputs, outputs, 64);
            ++n;
        }
        changes.store(n);
    });
    for (int cycle = 0; cycle < 40; ++cycle) {
        ASSERT_EQ(openEditor(*plugin, window.handle()), 1);
        idle();
        plugin->dispatch(effSetProgram, 0, cycle % kProgramCount);
        if (cycle % 3 == 0) openEditor(*plugin, window.handle());
        closeEditor(*plugin);
        if (cycle % 3 == 0) closeEditor(*plugin);
    }
    stop.store(true);
    audio.join();
    EXPECT_GT(changes.load(), 0);
    EXPECT_TRUE(children().empty());
}

// The window follows parameter changes within its timer while it is open; a
// window opened after changes made while closed shows the current values at
// once, the same pixels as a window that followed them.
#if ORVALUNE_NATIVE_WINDOWS

// The window is hidden while a left button is down on a slider (open, open,
// press, close) and shown again: the release never came, and the slider
// must not keep the mouse. A move with the button held over the background
// then changes nothing; the vowel click after it shows the move was handled.
TEST_F(Editor, HidingTheWindowMidDragEndsTheDrag) {
    plugin->setParameter(kVowel, 0.0f);
    ASSERT_EQ(openEditor(*plugin, window.handle()), 1);
    ASSERT_EQ(openEditor(*plugin, window.handle()), 1);
    const auto shown = children();
    ASSERT_EQ(shown.size(), 1u);
    const std::uintptr_t editor = shown[0].id;

    sendMouse(editor, Mouse::LeftDown, 150 + 59, 78);  // on the morph slider
    const float pressed = 59.0f / 118.0f;
    ASSERT_TRUE(idleUntil([&] { return plugin->getParameter(kMorphTime) == pressed; }));
    closeEditor(*plugin);
    ASSERT_EQ(openEditor(*plugin, window.handle()), 1);
    idle();

    sendMouse(editor, Mouse::MoveLeftHeld, 140, 60);  // over the background, left of the slider
    sendMouse(editor, Mouse::LeftDown, 115, 96);      // vowel e
    sendMouse(editor, Mouse::LeftUp, 115, 96);
    ASSERT_TRUE(idleUntil([&] { return plugin->getParameter(kVowel) != 0.0f; }));
    EXPECT_EQ(plugin->getParameter(kMorphTime), pressed) << "the slider kept the mouse";

    closeEditor(*plugin);
    closeEditor(*plugin);
}

#endif

TEST_F(Editor, WindowFollowsParametersWhileOpen) {
    plugin->setParameter(kVolume, 0.0f);
    plugin->setParameter(kMorphTime, 0.0f);
    ASSERT_EQ(openEditor(*plugin, window.handle()), 1);
    auto pixels = [&] {
        auto shown = children();
        return shown.size() == 1 ? window.pixelsOf(shown[0]) : std::vector<std::uint32_t>{};
    };
    std::vector<std::uint32_t> low;
    ASSERT_TRUE(idleUntil([&] {
        low = pixels();
        return !low.empty();
    }));

    plugin->setParameter(kVolume, 1.0f);
    plugin->setParameter(kMorphTime, 1.0f);
    std::vector<std::uint32_t> high;
    ASSERT_TRUE(idleUntil([&] {
        high = pixels();
        return !high.empty() && high != low;
    })) << "the pointers never moved";

    closeEditor(*plugin);
    plugin->setParameter(kVolume, 0.0f);
    plugin->setParameter(kMorphTime, 0.0f);
    ASSERT_EQ(openEditor(*plugin, window.handle()), 1);
    std::vector<std::uint32_t> reopened;
    EXPECT_TRUE(idleUntil([&] {
        reopened = pixels();
        return reopened == low;
    }, std::chrono::milliseconds(2000))) << "a new window must show the values set while it was closed";
    closeEditor(*plugin);
}

#if !defined(_WIN32) && ORVALUNE_NATIVE_WINDOWS

// X errors caused by the plug-in's own requests stay on its connection: the
// host's handler neither hears of them nor is replaced, and still gets the
// host's own errors afterwards.
TEST_F(Editor, X11ErrorsStayWithThePlugin) {
    HostErrorHandler hostHandler;
    std::vector<char> zeroes(512, 0);
    EXPECT_EQ(openEditor(*plugin, window.goneWindow()), 0);
    EXPECT_EQ(openEditor(*plugin, zeroes.data()), 0);
    HostWindow own;
    ASSERT_EQ(openEditor(*plugin, own.handle()), 1);
    idle();
    own.destroy();  // the editor's window goes with it
    idle();
    closeEditor(*plugin);
    EXPECT_EQ(hostHandler.errors(), 0);
    EXPECT_TRUE(hostHandler.installed());
    hostHandler.causeError();
    EXPECT_EQ(hostHandler.errors(), 1);
}

// A slider drag tells the host through audioMasterAutomate while the editor
// handles its events. A host may do anything in that callback, here idle the
// editor of another instance on the same thread: the plug-in must hold no
// lock of its own across the call.
TEST_F(Editor, HostIdlesAnotherEditorFromTheAutomationCallback) {
    std::unique_ptr<host::PluginInstance> other = openInstance();
    HostWindow otherWindow;
    ASSERT_EQ(openEditor(*other, otherWindow.handle()), 1);
    int nestedIdles = 0;
    host::HostOptions options;
    options.answer = [&](const host::HostRequest& request) -> VstIntPtr {
        if (request.opcode == audioMasterAutomate) {
            other->dispatch(effEditIdle);
            ++nestedIdles;
        }
        return 0;
    };
    plugin = openInstance(options);
    ASSERT_EQ(openEditor(*plugin, window.handle()), 1);
    idle();
    const auto shown = children();
    ASSERT_EQ(shown.size(), 1u);

    sendMouse(shown[0].id, Mouse::LeftDown, 150 + 59, 78);  // on the morph slider

    // A deadlock would hang the test program: a watchdog ends it instead.
    std::atomic<bool> done{false};
    std::thread watchdog([&] {
        for (int i = 0; i < 2000 && !done.load(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (done.load()) return;
        std::fputs("the editor deadlocked when the host idled another editor from its callback\n", stderr);
        std::_Exit(1);
    });
    const bool pressed = idleUntil([&] { return nestedIdles > 0; });
    done.store(true);
    watchdog.join();
    ASSERT_TRUE(pressed) << "the press never reached the slider";
    EXPECT_FLOAT_EQ(plugin->getParameter(kMorphTime), 59.0f / 118.0f);

    closeEditor(*plugin);
    plugin.reset();  // its callback refers to the other instance
    closeEditor(*other);
}

TEST_F(Editor, OpenWithoutDisplayFails) {
    const std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    unsetenv("DISPLAY");
    EXPECT_EQ(openEditor(*plugin, window.handle()), 0);
    setenv("DISPLAY", display.c_str(), 1);
    EXPECT_TRUE(children().empty());
}

#endif

// ---- The library loaded and unloaded -------------------------------------------------

// A hundred load, open, close, unload rounds in one process. A copy of the
// binary under another name is a module of its own, so each round really
// loads and unloads it (the test program keeps the original loaded). On
// Windows the editor's window class must be gone with the library, or the
// next load cannot register it.
TEST(EditorLibrary, LoadedAndUnloadedHundredTimes) {
    if (!ORVALUNE_NATIVE_WINDOWS) GTEST_SKIP() << "this build's plug-in opens no windows";
    HostWindow& window = sharedHostWindow();
    ASSERT_TRUE(window.ok()) << window.error();
    const std::filesystem::path original = host::PluginLibrary::defaultPath();
    const std::filesystem::path copy =
        std::filesystem::temp_directory_path() /
        ("orvalune-reload-" + std::to_string(Clock::now().time_since_epoch().count()) + original.extension().string());
    std::filesystem::copy_file(original, copy);
    for (int round = 0; round < 100; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
#if defined(_WIN32)
        HMODULE module = nullptr;
#endif
        {
            host::PluginLibrary library(copy.string());
            host::PluginInstance plugin(library);
            ASSERT_TRUE(plugin);
            ASSERT_EQ(plugin.dispatch(effEditOpen, 0, 0, window.handle()), 1);
            window.pump();
            plugin.dispatch(effEditIdle);
#if defined(_WIN32)
            module = GetModuleHandleA(copy.string().c_str());
            WNDCLASSEXA info = {};
            info.cbSize = sizeof info;
            EXPECT_TRUE(GetClassInfoExA(module, "OrvaluneEditorWindow", &info)) << "registered for the DLL's module";
#endif
            plugin.dispatch(effEditClose);
            plugin.close();
        }
#if defined(_WIN32)
        WNDCLASSEXA info = {};
        info.cbSize = sizeof info;
        ASSERT_FALSE(GetClassInfoExA(module, "OrvaluneEditorWindow", &info)) << "class left behind";
#endif
    }
    window.pump();
    EXPECT_TRUE(window.children().empty());
    std::filesystem::remove(copy);
}

}  // namespace
