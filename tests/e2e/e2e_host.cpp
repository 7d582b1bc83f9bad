// A small host for end-to-end editor tests: loads the plug-in binary, opens
// its editor in a top-level window of its own at a fixed place on the screen
// (kHostLeft, kHostTop; the editor fills the window's top-left corner),
// idles it the way hosts do, and answers commands on stdin, one per line:
//
//   params        "params V0 ... V7": the eight parameter values, exact
//   automations   "automations N I:V ...": what the plug-in reported to the host
//   fraction P S  "fraction V": the value a slider of S pixels sends at P
//   reopen        closes the editor and opens a new one: "reopened ANSWER"
//   quit          closes the editor and the instance, and ends
//
// It prints "ready ANSWER" once the editor is open. The tests drive the
// editor with real input (xdotool) and read the results back here.

#include <atomic>
#include <chrono>
#include <cstdio>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <iostream>
#else
#include <X11/Xlib.h>
#include <poll.h>
#include <unistd.h>
#endif

#include "plugin_instance.h"
#include "plugin_library.h"

namespace {

constexpr int kHostLeft = 50;
constexpr int kHostTop = 40;
constexpr int kHostWidth = 400;
constexpr int kHostHeight = 300;
constexpr auto kIdleInterval = std::chrono::milliseconds(20);

// ---- The host's window and event loop, per platform -------------------------------

#if defined(_WIN32)

class HostFrame {
public:
    HostFrame() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "OrvaluneE2eHost";
        RegisterClassA(&windowClass);
        // A popup: nothing of a frame between the screen and the editor.
        window_ = CreateWindowExA(0, "OrvaluneE2eHost", "host", WS_POPUP | WS_CLIPCHILDREN | WS_VISIBLE, kHostLeft,
                                  kHostTop, kHostWidth, kHostHeight, nullptr, nullptr, GetModuleHandleA(nullptr),
                                  nullptr);
        // Lines from stdin arrive on a thread of their own; the window's
        // thread must keep running its message loop.
        std::thread([this] {
            std::string line;
            while (std::getline(std::cin, line)) {
                if (!line.empty() && line.back() == '\r') line.pop_back();
                push(line);
            }
            push("quit");
        }).detach();
    }
    bool ok() const { return window_ != nullptr; }
    void* handle() const { return window_; }

    // Runs the window system's messages for up to `wait`; answers a command
    // line when one has arrived.
    bool waitForCommand(std::chrono::milliseconds wait, std::string& command) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(wait.count()), QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        std::lock_guard<std::mutex> lock(mutex_);
        if (lines_.empty()) return false;
        command = lines_.front();
        lines_.pop_front();
        return true;
    }

private:
    void push(const std::string& line) {
        std::lock_guard<std::mutex> lock(mutex_);
        lines_.push_back(line);
    }

    HWND window_ = nullptr;
    std::mutex mutex_;
    std::deque<std::string> lines_;
};

#else

class HostFrame {
public:
    HostFrame() {
        display_ = XOpenDisplay(nullptr);
        if (!display_) return;
        XSetWindowAttributes attributes = {};
        attributes.background_pixel = WhitePixel(display_, DefaultScreen(display_));
        attributes.override_redirect = True;  // placed exactly, whatever window manager runs
        window_ = XCreateWindow(display_, DefaultRootWindow(display_), kHostLeft, kHostTop, kHostWidth, kHostHeight,
                                0, CopyFromParent, InputOutput, CopyFromParent, CWBackPixel | CWOverrideRedirect,
                                &attributes);
        XMapWindow(display_, window_);
        XSync(display_, False);
    }
    ~HostFrame() {
        if (display_) XCloseDisplay(display_);
    }
    bool ok() const { return window_ != 0; }
    void* handle() const { return reinterpret_cast<void*>(window_); }

    bool waitForCommand(std::chrono::milliseconds wait, std::string& command) {
        if (takeLine(command)) return true;
        pollfd input = {STDIN_FILENO, POLLIN, 0};
        if (!endOfInput_ && poll(&input, 1, static_cast<int>(wait.count())) > 0) {
            char buffer[256];
            const ssize_t count = read(STDIN_FILENO, buffer, sizeof buffer);
            if (count > 0) {
                pending_.append(buffer, static_cast<std::size_t>(count));
            } else {
                endOfInput_ = true;  // the test went away: end like "quit"
                pending_ += "\nquit\n";
            }
        }
        return takeLine(command);
    }

private:
    Display* display_ = nullptr;
    Window window_ = 0;
    std::string pending_;
    bool endOfInput_ = false;

    bool takeLine(std::string& line) {
        const std::size_t end = pending_.find('\n');
        if (end == std::string::npos) return false;
        line = pending_.substr(0, end);
        pending_.erase(0, end + 1);
        return true;
    }
};

#endif

void reply(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

std::string exact(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
    _setmode(_fileno(stdout), _O_BINARY);  // "\n", not "\r\n"
#endif
    try {
        host::PluginLibrary library(argc > 1 ? argv[1] : host::PluginLibrary::defaultPath());
        host::PluginInstance plugin(library);
        if (!plugin) {
            reply("error: main answered no instance");
            return 1;
        }
        HostFrame frame;
        if (!frame.ok()) {
            reply("error: cannot create the host window");
            return 1;
        }
        plugin.dispatch(effOpen);
        plugin.dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
        plugin.dispatch(effSetBlockSize, 0, 512);
        plugin.dispatch(effMainsChanged, 0, 1);
        plugin.clearRequests();
        reply("ready " + std::to_string(plugin.dispatch(effEditOpen, 0, 0, frame.handle())));

        auto nextIdle = std::chrono::steady_clock::now();
        for (;;) {
            std::string command;
            const auto now = std::chrono::steady_clock::now();
            const auto wait = nextIdle > now ? std::chrono::duration_cast<std::chrono::milliseconds>(nextIdle - now)
                                             : std::chrono::milliseconds(0);
            if (frame.waitForCommand(wait, command)) {
                if (command.empty()) {
                    // nothing to do
                } else if (command == "params") {
                    std::string line = "params";
                    for (VstInt32 i = 0; i < 8; ++i) line += " " + exact(plugin.getParameter(i));
                    reply(line);
                } else if (command == "automations") {
                    std::string items;
                    int count = 0;
                    for (const host::HostRequest& request : plugin.requests()) {
                        if (request.opcode != audioMasterAutomate) continue;
                        items += " " + std::to_string(request.index) + ":" + exact(request.opt);
                        ++count;
                    }
                    reply("automations " + std::to_string(count) + items);
                } else if (command.rfind("fraction ", 0) == 0) {
                    // The value a slider sends for position P of SIZE pixels.
                    int position = 0, size = 1;
                    std::sscanf(command.c_str(), "fraction %d %d", &position, &size);
                    reply("fraction " + exact(static_cast<float>(static_cast<double>(position) / size)));
                } else if (command == "reopen") {
                    plugin.dispatch(effEditClose);
                    reply("reopened " + std::to_string(plugin.dispatch(effEditOpen, 0, 0, frame.handle())));
                } else if (command == "quit") {
                    break;
                } else {
                    reply("error: unknown command '" + command + "'");
                }
            }
            if (std::chrono::steady_clock::now() >= nextIdle) {
                plugin.dispatch(effEditIdle);
                nextIdle = std::chrono::steady_clock::now() + kIdleInterval;
            }
        }
        plugin.dispatch(effEditClose);
        plugin.close();
        return 0;
    } catch (const std::exception& error) {
        reply(std::string("error: ") + error.what());
        return 1;
    }
}
