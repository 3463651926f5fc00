// SPDX-License-Identifier: MIT
// Another program on the desktop for the benchmarks: titled top-level windows on an X
// connection of its own, waited for until the window manager (openbox under scripts/bench)
// has taken them on, and gone when it closes.
#pragma once

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace pelmora {

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
    // Every window shown so far, in the order shown.
    const std::vector<::Window>& Shown() const { return shown_; }

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

// The title of the i-th of many windows another program shows.
inline std::string NumberedWindowTitle(int i) { return "窗口 " + std::to_string(i) + " bench window"; }

// count small windows titled NumberedWindowTitle(0 ...), shown by other in a grid over the
// screen's upper part and taken on by the window manager; false when that failed.
inline bool ShowNumberedWindows(OtherProgram& other, int count) {
    if (!other.Connected()) return false;
    for (int i = 0; i < count; ++i) other.Show(20 + i % 40 * 25, 20 + i / 40 * 30, 160, 90, NumberedWindowTitle(i));
    // A window manager takes seconds to frame a thousand windows.
    return other.Settle(std::chrono::seconds(300));
}

}  // namespace pelmora
