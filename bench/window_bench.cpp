// SPDX-License-Identifier: MIT
// The cost of the window read-outs against the real X server on DISPLAY: the window list
// over a thousand windows, and a sampling tick with the window under the pointer read out.
// scripts/bench runs it inside a private Xvfb with openbox framing the windows, as on a
// user's desktop.
#include <benchmark/benchmark.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "form_on_x11.h"
#include "windows/window_list.h"

namespace {

using namespace pelmora;

// Another program on the desktop: titled top-level windows on a connection of its own,
// gone when it closes.
class OtherProgram {
public:
    // Connects, and waits until a window manager, if one runs, frames new windows.
    OtherProgram() : display_(XOpenDisplay(nullptr)) {
        if (display_) WindowManagerReady(std::chrono::seconds(20));  // else Settle tells
    }
    ~OtherProgram() {
        if (display_) XCloseDisplay(display_);
    }
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

    bool Connected() const { return display_ != nullptr; }

    // Whether a window manager, if one runs, frames new windows. openbox announces
    // itself before it is through starting up, and a window mapped in that time may
    // never be framed: a probe window that got its WM_STATE tells it is ready.
    bool WindowManagerReady(std::chrono::seconds limit) {
        if (!WindowManagerRuns()) return true;
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            const ::Window probe = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 10, 10, 0, 0, 0);
            XMapWindow(display_, probe);
            XSync(display_, False);
            bool framed = false;
            const auto probeDeadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
            while (!framed && std::chrono::steady_clock::now() < probeDeadline) {
                framed = HasWmState(probe);
                if (!framed) std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            XDestroyWindow(display_, probe);
            XSync(display_, False);
            if (framed) return true;
        }
        return false;
    }

    // Maps a window that asks to sit at (x, y), titled in both title properties.
    ::Window Show(int x, int y, int width, int height, const std::string& title) {
        const ::Window root = DefaultRootWindow(display_);
        const ::Window window = XCreateSimpleWindow(display_, root, x, y, static_cast<unsigned>(width),
                                                    static_cast<unsigned>(height), 0, 0, 0xC0C0C0);
        XSizeHints hints{};
        hints.flags = USPosition | USSize;
        hints.x = x;
        hints.y = y;
        hints.width = width;
        hints.height = height;
        XSetWMNormalHints(display_, window, &hints);
        const auto* bytes = reinterpret_cast<const unsigned char*>(title.data());
        const int length = static_cast<int>(title.size());
        XChangeProperty(display_, window, Intern("_NET_WM_NAME"), Intern("UTF8_STRING"), 8, PropModeReplace, bytes,
                        length);
        XChangeProperty(display_, window, XA_WM_NAME, Intern("UTF8_STRING"), 8, PropModeReplace, bytes, length);
        char instance[] = "bench", className[] = "Bench";
        XClassHint classHint{instance, className};
        XSetClassHint(display_, window, &classHint);
        XMapWindow(display_, window);
        shown_.push_back(window);
        return window;
    }

    // Waits until a window manager, if one runs, has taken on every window shown (each in
    // its _NET_CLIENT_LIST); without one the windows are mapped once the server has
    // done the requests. False when that did not happen within limit.
    bool Settle(std::chrono::seconds limit) {
        XSync(display_, False);
        if (!WindowManagerRuns()) return true;
        const auto deadline = std::chrono::steady_clock::now() + limit;
        const std::set<::Window> wanted(shown_.begin(), shown_.end());
        while (std::chrono::steady_clock::now() < deadline) {
            std::size_t managed = 0;
            for (const ::Window window : ClientList()) managed += wanted.count(window);
            if (managed == wanted.size()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

private:
    ::Atom Intern(const char* name) { return XInternAtom(display_, name, False); }

    bool HasWmState(::Window window) {
        ::Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        XGetWindowProperty(display_, window, Intern("WM_STATE"), 0, 2, False, AnyPropertyType, &type, &format, &count,
                           &after, &data);
        if (data) XFree(data);
        return type != None;
    }

    bool WindowManagerRuns() {
        ::Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        XGetWindowProperty(display_, DefaultRootWindow(display_), Intern("_NET_SUPPORTING_WM_CHECK"), 0, 1, False,
                           XA_WINDOW, &type, &format, &count, &after, &data);
        if (data) XFree(data);
        return count == 1;
    }

    std::vector<::Window> ClientList() {
        ::Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::vector<::Window> clients;
        XGetWindowProperty(display_, DefaultRootWindow(display_), Intern("_NET_CLIENT_LIST"), 0, 1 << 20, False,
                           XA_WINDOW, &type, &format, &count, &after, &data);
        if (data && format == 32) {
            const auto* ids = reinterpret_cast<const unsigned long*>(data);
            clients.assign(ids, ids + count);
        }
        if (data) XFree(data);
        return clients;
    }

    ::Display* display_;
    std::vector<::Window> shown_;
};

// The other program's windows stay for the whole run: the benchmark functions run once
// per repetition, and a window manager takes seconds to frame or unframe a thousand
// windows, so windows made anew each time would be timed half-managed.
OtherProgram& Other() {
    static OtherProgram other;
    return other;
}

constexpr int kManyWindows = 1000;

// The 1000 windows, shown and taken on by the window manager; false when that failed.
bool ShowManyWindows() {
    static const bool shown = [] {
        if (!Other().Connected()) return false;
        for (int i = 0; i < kManyWindows; ++i)
            Other().Show(20 + i % 40 * 25, 20 + i / 40 * 30, 160, 90, "窗口 " + std::to_string(i) + " bench window");
        return Other().Settle(std::chrono::seconds(300));
    }();
    return shown;
}

// The enumerate sub-page's list over 1000 titled top-level windows of another program.
void BM_EnumerateWindows1000(benchmark::State& state) {
    std::unique_ptr<X11Connection> connection = X11Connection::Open();
    if (!connection || !Other().Connected()) {
        state.SkipWithError("no X server on DISPLAY");
        return;
    }
    if (!ShowManyWindows()) {
        state.SkipWithError("the window manager did not take on the windows");
        return;
    }
    X11Desktop desktop(*connection);
    std::size_t listed = 0;
    for (auto _ : state) {
        const std::vector<std::string> lines = EnumerateTitledWindows(desktop);
        listed = lines.size();
        benchmark::DoNotOptimize(lines.data());
    }
    state.counters["listed"] = static_cast<double>(listed);
    if (listed < kManyWindows) state.SkipWithError("fewer lines than windows");
}
BENCHMARK(BM_EnumerateWindows1000)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

// One sampling tick as the timer runs it with the pointer over a framed, titled window
// of another program: pointer, colour read-out, magnifier and the pick sub-page's window
// handle, title and class.
void BM_PollWithWindowReadOut(benchmark::State& state) {
    if (!Other().Connected()) {
        state.SkipWithError("no X server on DISPLAY");
        return;
    }
    const std::string title = "取色目标 bench target";
    static const ::Window target = Other().Show(300, 200, 400, 300, title);
    if (!Other().Settle(std::chrono::seconds(60))) {
        state.SkipWithError("the window manager did not take on the window");
        return;
    }
    FormOnX11 fixture;
    Form1* form = fixture.Ready(state, {500, 350});
    if (!form) return;
    for (auto _ : state) form->Timer1_Timer();
    const CrossHairPick& pick = form->windowHandlePage.pick;
    if (pick.Text2.Text() != std::to_string(target) || pick.Text1.Text() != title)
        state.SkipWithError(("the tick read out " + pick.Text2.Text() + " " + pick.Text1.Text()).c_str());
}
BENCHMARK(BM_PollWithWindowReadOut)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

// The window part of that tick alone, the pointer resting on the framed window: the
// window at the pointer's position, then its texts.
void BM_WindowReadOut(benchmark::State& state) {
    std::unique_ptr<X11Connection> connection = X11Connection::Open();
    if (!connection || !Other().Connected()) {
        state.SkipWithError("no X server on DISPLAY");
        return;
    }
    static const ::Window target = Other().Show(300, 200, 400, 300, "读出目标 bench target");
    if (!Other().Settle(std::chrono::seconds(60))) {
        state.SkipWithError("the window manager did not take on the window");
        return;
    }
    X11Desktop desktop(*connection);
    const ScreenPoint pointer{500, 350};
    WindowTexts texts;
    WindowHandle window = 0;
    for (auto _ : state) {
        window = desktop.WindowAt(pointer);
        texts = desktop.ReadWindowTexts(window);
    }
    if (window != static_cast<WindowHandle>(target) || texts.className != "Bench")
        state.SkipWithError("not the window under the pointer");
}
BENCHMARK(BM_WindowReadOut)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

// One bare round trip to the server, the unit the costs above are made of.
void BM_RoundTrip(benchmark::State& state) {
    std::unique_ptr<X11Connection> connection = X11Connection::Open();
    if (!connection) {
        state.SkipWithError("no X server on DISPLAY");
        return;
    }
    for (auto _ : state) XSync(connection->display(), False);
}
BENCHMARK(BM_RoundTrip)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
