// SPDX-License-Identifier: MIT
// A desktop as users have it: an X server of the test's own with a reparenting window
// manager (openbox) on it, which frames every client window, sets its WM_STATE and keeps
// _NET_CLIENT_LIST_STACKING. The shared Xvfb of the other x11 tests has no window manager
// and keeps it that way. DesktopClient is another program on such a desktop.
#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <sys/types.h>

#include "x11_test_support.h"

namespace pelmora::testing {

// Xlib's ids, without Xlib's header and its macros (which clash with Qt's names).
using XWindowId = unsigned long;
using XAtomId = unsigned long;

class ManagedDesktop {
public:
    // Starts the server and openbox on it, and waits until openbox manages the screen.
    ManagedDesktop();
    ~ManagedDesktop() { Stop(); }
    ManagedDesktop(const ManagedDesktop&) = delete;
    ManagedDesktop& operator=(const ManagedDesktop&) = delete;

    // The display name, ":N".
    const std::string& Display() const { return server_.Display(); }
    // True once openbox manages the screen: the root's _NET_SUPPORTING_WM_CHECK names a
    // window that names itself, and a probe window mapped after that got its frame
    // (openbox sets the check window before it is through starting up, and a window
    // mapped in that time may stay unframed). The probe is gone again by then.
    bool Ready() const { return ready_; }
    // command prefixed so that it runs on this desktop: "DISPLAY=:N command".
    std::string On(std::string_view command) const;
    // Whether openbox still runs.
    bool WindowManagerRunning();
    // Stops openbox (it gives its clients back to the root on the way out) and then the
    // server. Close every connection to the server first: Xlib ends a process whose
    // server goes away under an open connection.
    void Stop();

private:
    bool WaitForWindowManager(std::chrono::milliseconds limit);

    PrivateXServer server_;
    pid_t windowManager_ = -1;
    bool ready_ = false;
};

// Another program's windows: a connection of its own that creates top-level windows,
// gives them texts and waits until the window manager has framed them. Closing it (the
// destructor) destroys its windows.
class DesktopClient {
public:
    explicit DesktopClient(const std::string& display);
    ~DesktopClient();
    DesktopClient(const DesktopClient&) = delete;
    DesktopClient& operator=(const DesktopClient&) = delete;

    ::Display* display() const { return display_; }
    XWindowId root() const;
    XAtomId Intern(const char* name) const;

    // An unmapped top-level window that asks to be placed with its top-left corner at
    // (x, y) (USPosition, which openbox honours).
    XWindowId Create(int x, int y, int width, int height);
    // A window that the window manager leaves alone (override-redirect), mapped.
    XWindowId CreateUnmanaged(XWindowId parent, int x, int y, int width, int height);
    // Sets a property of 8-bit units to bytes exactly, typed type.
    void SetBytes(XWindowId window, const char* property, const char* type, std::string_view bytes);
    // _NET_WM_NAME as UTF8_STRING.
    void SetTitle(XWindowId window, std::string_view utf8) { SetBytes(window, "_NET_WM_NAME", "UTF8_STRING", utf8); }
    // WM_CLASS: the instance name, then the class name.
    void SetClass(XWindowId window, std::string_view instance, std::string_view className);
    // Maps the window and waits until the window manager has framed it: WM_STATE set,
    // the parent a frame below the root, and the window viewable.
    bool MapManaged(XWindowId window);
    bool IsManaged(XWindowId window) const;
    // The window's parent: its frame while the window manager manages it; 0 for a
    // window that is gone.
    XWindowId Parent(XWindowId window) const;
    // Where (x, y) of the window lies on the screen.
    std::pair<int, int> OnScreen(XWindowId window, int x, int y) const;
    // A window list of the root (_NET_CLIENT_LIST_STACKING, bottom to top).
    std::vector<XWindowId> RootList(const char* property) const;
    void Destroy(XWindowId window);
    // Destroys a framed window and waits until the window manager has taken its frame
    // down too (till then the empty frame is what lies at the window's place).
    bool DestroyManaged(XWindowId window);
    // Destroys every top-level window made here and waits until the window manager has
    // taken their frames down, so that what comes next starts on a clear desktop.
    bool DestroyTopLevels();
    // Whether the window exists and is viewable.
    bool Viewable(XWindowId window) const;
    // Waits until the server has done every request sent so far.
    void Sync() const;

private:
    ::Display* display_;
    std::vector<XWindowId> topLevel_;  // made here and not destroyed yet
};

}  // namespace pelmora::testing
