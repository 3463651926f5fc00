// SPDX-License-Identifier: MIT
#include "managed_desktop.h"

#include <X11/Xlib.h>

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pelmora::testing {

namespace {

// The window a window property names, or None.
::Window WindowProperty(::Display* display, ::Window window, Atom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    ::Window named = None;
    if (XGetWindowProperty(display, window, property, 0, 1, False, XA_WINDOW, &type, &format, &count, &after, &data) ==
            Success &&
        type == XA_WINDOW && format == 32 && count == 1)
        named = static_cast<::Window>(reinterpret_cast<unsigned long*>(data)[0]);
    if (data) XFree(data);
    return named;
}

// Discards the X errors of requests about windows that may have gone meanwhile; the
// checks then read "not there". Only for the test's own connections.
int IgnoreXError(::Display*, XErrorEvent*) { return 0; }

// The errors of display's requests made while it lives are discarded, not handed to the
// program's error handler, which would count them against the connection under test.
class IgnoredErrors {
public:
    explicit IgnoredErrors(::Display* display) : display_(display), previous_(XSetErrorHandler(IgnoreXError)) {}
    ~IgnoredErrors() {
        XSync(display_, False);
        XSetErrorHandler(previous_);
    }
    IgnoredErrors(const IgnoredErrors&) = delete;
    IgnoredErrors& operator=(const IgnoredErrors&) = delete;

private:
    ::Display* display_;
    XErrorHandler previous_;
};

}  // namespace

ManagedDesktop::ManagedDesktop() {
    if (server_.Display().empty()) return;
    windowManager_ = fork();
    if (windowManager_ == 0) {
        setenv("DISPLAY", server_.Display().c_str(), 1);
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
        execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
        _exit(127);
    }
    ready_ = windowManager_ > 0 && WaitForWindowManager(std::chrono::seconds(20));
}

bool ManagedDesktop::WaitForWindowManager(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    const auto left = [&] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    };
    DesktopClient probe(Display());
    if (!probe.display()) return false;
    // First the check window, which openbox sets once it has taken the screen.
    const Atom check = probe.Intern("_NET_SUPPORTING_WM_CHECK");
    const bool checked = WaitUntil(
        [&] {
            if (!WindowManagerRunning()) return true;      // gave up: nothing to wait for
            const IgnoredErrors ignored(probe.display());  // the check window may be gone
            const ::Window named = WindowProperty(probe.display(), probe.root(), check);
            return named != None && WindowProperty(probe.display(), named, check) == named;
        },
        left());
    if (!checked || !WindowManagerRunning()) return false;

    // openbox sets it before it is through starting up, and a window mapped in that time
    // may never be framed. Ready means that a probe window got its frame; a probe left
    // unframed makes way for a new one.
    while (WindowManagerRunning() && left().count() > 0) {
        const ::Window window = probe.Create(0, 0, 10, 10);
        XMapWindow(probe.display(), window);
        probe.Sync();
        const bool framed = WaitUntil([&] { return !WindowManagerRunning() || probe.IsManaged(window); },
                                      std::min(left(), std::chrono::milliseconds(500)));
        probe.Destroy(window);
        if (framed && WindowManagerRunning()) {
            // Tests start on a desktop without it.
            return WaitUntil([&] {
                const std::vector<::Window> clients = probe.RootList("_NET_CLIENT_LIST");
                return std::find(clients.begin(), clients.end(), window) == clients.end();
            });
        }
    }
    return false;
}

std::string ManagedDesktop::On(std::string_view command) const {
    return "DISPLAY=" + Display() + " " + std::string(command);
}

bool ManagedDesktop::WindowManagerRunning() {
    if (windowManager_ <= 0) return false;
    if (waitpid(windowManager_, nullptr, WNOHANG) == 0) return true;
    windowManager_ = -1;
    return false;
}

void ManagedDesktop::Stop() {
    if (windowManager_ > 0) {
        kill(windowManager_, SIGTERM);
        if (!WaitUntil([&] { return !WindowManagerRunning(); }, std::chrono::seconds(5))) {
            kill(windowManager_, SIGKILL);
            waitpid(windowManager_, nullptr, 0);
            windowManager_ = -1;
        }
    }
    ready_ = false;
    server_.Stop();
}

DesktopClient::DesktopClient(const std::string& display) : display_(XOpenDisplay(display.c_str())) {}

::Window DesktopClient::root() const { return DefaultRootWindow(display_); }

Atom DesktopClient::Intern(const char* name) const { return XInternAtom(display_, name, False); }

void DesktopClient::Sync() const { XSync(display_, False); }

DesktopClient::~DesktopClient() {
    if (display_) XCloseDisplay(display_);
}

::Window DesktopClient::Create(int x, int y, int width, int height) {
    const ::Window window = XCreateSimpleWindow(display_, root(), x, y, static_cast<unsigned>(width),
                                                static_cast<unsigned>(height), 0, 0, 0xFFFFFF);
    XSizeHints hints{};
    hints.flags = USPosition | USSize;
    hints.x = x;
    hints.y = y;
    hints.width = width;
    hints.height = height;
    XSetWMNormalHints(display_, window, &hints);
    XSync(display_, False);
    topLevel_.push_back(window);
    return window;
}

::Window DesktopClient::CreateUnmanaged(::Window parent, int x, int y, int width, int height) {
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = 0x336699;
    const ::Window window =
        XCreateWindow(display_, parent, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                      CopyFromParent, InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
    XMapRaised(display_, window);
    XSync(display_, False);
    if (parent == root()) topLevel_.push_back(window);
    return window;
}

void DesktopClient::SetBytes(::Window window, const char* property, const char* type, std::string_view bytes) {
    XChangeProperty(display_, window, Intern(property), Intern(type), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
    XSync(display_, False);
}

void DesktopClient::SetClass(::Window window, std::string_view instance, std::string_view className) {
    std::string bytes(instance);
    bytes.append(1, '\0').append(className).append(1, '\0');
    SetBytes(window, "WM_CLASS", "STRING", bytes);
}

bool DesktopClient::IsManaged(::Window window) const {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const Atom wmState = Intern("WM_STATE");
    bool normal = false;
    {
        const IgnoredErrors ignored(display_);
        normal = XGetWindowProperty(display_, window, wmState, 0, 2, False, wmState, &type, &format, &count, &after,
                                    &data) == Success &&
                 type == wmState && format == 32 && count >= 1 &&
                 reinterpret_cast<unsigned long*>(data)[0] == NormalState;
    }
    if (data) XFree(data);
    if (!normal || !Viewable(window)) return false;
    const ::Window parent = Parent(window);
    return parent != None && parent != root();
}

bool DesktopClient::MapManaged(::Window window) {
    XMapWindow(display_, window);
    XSync(display_, False);
    return WaitUntil([&] { return IsManaged(window); });
}

::Window DesktopClient::Parent(::Window window) const {
    ::Window rootReturn = None, parent = None;
    ::Window* children = nullptr;
    unsigned count = 0;
    const IgnoredErrors ignored(display_);
    if (!XQueryTree(display_, window, &rootReturn, &parent, &children, &count)) return None;
    if (children) XFree(children);
    return parent;
}

std::pair<int, int> DesktopClient::OnScreen(::Window window, int x, int y) const {
    int screenX = 0, screenY = 0;
    ::Window child = None;
    XTranslateCoordinates(display_, window, root(), x, y, &screenX, &screenY, &child);
    return {screenX, screenY};
}

std::vector<::Window> DesktopClient::RootList(const char* property) const {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<::Window> windows;
    if (XGetWindowProperty(display_, root(), Intern(property), 0, 1 << 20, False, XA_WINDOW, &type, &format, &count,
                           &after, &data) == Success &&
        format == 32) {
        const auto* ids = reinterpret_cast<unsigned long*>(data);
        windows.assign(ids, ids + count);
    }
    if (data) XFree(data);
    return windows;
}

void DesktopClient::Destroy(::Window window) {
    XDestroyWindow(display_, window);
    XSync(display_, False);
    std::erase(topLevel_, window);
}

bool DesktopClient::DestroyTopLevels() {
    std::vector<::Window> frames;
    for (const ::Window window : topLevel_) {
        const ::Window parent = Parent(window);
        if (parent != None && parent != root()) frames.push_back(parent);
        XDestroyWindow(display_, window);
    }
    topLevel_.clear();
    XSync(display_, False);
    return WaitUntil(
        [&] { return std::none_of(frames.begin(), frames.end(), [&](::Window frame) { return Viewable(frame); }); });
}

bool DesktopClient::DestroyManaged(::Window window) {
    const ::Window frame = Parent(window);
    Destroy(window);
    if (frame == None || frame == root()) return true;
    return WaitUntil([&] { return !Viewable(frame); });
}

bool DesktopClient::Viewable(::Window window) const {
    const IgnoredErrors ignored(display_);  // a window gone is not viewable
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display_, window, &attributes) && attributes.map_state == IsViewable;
}

}  // namespace pelmora::testing
