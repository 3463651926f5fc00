// SPDX-License-Identifier: MIT
// System-wide hotkeys over Xlib: each hotkey is a passive key grab on the root window of
// the program's own connection. The grabbed KeyPress events arrive on that connection;
// whoever runs the event loop watches ConnectionFd() and calls ProcessPendingEvents().
#pragma once

#include <functional>
#include <map>
#include <vector>

#include "platform/hotkey_service.h"
#include "backends/x11/x11_connection.h"

namespace pelmora {

class X11HotkeyService : public HotkeyService {
public:
    // Grabs on connection's root window, which must outlive it.
    explicit X11HotkeyService(X11Connection& connection);
    ~X11HotkeyService() override;
    X11HotkeyService(const X11HotkeyService&) = delete;
    X11HotkeyService& operator=(const X11HotkeyService&) = delete;

    bool Register(int id, int modifiers, int virtualKey) override;
    bool Release(int id) override;
    void SetReceiver(std::function<void(int id)> receiver) override;

    // The socket of the connection: readable when events may be waiting.
    int ConnectionFd() const;
    // Takes every event queued on the connection and hands the id of each pressed hotkey
    // to the receiver. Other requests on the connection (round trips of the desktop) can
    // move events into Xlib's queue without the socket becoming readable again, so the
    // loop calls this before it goes to sleep as well.
    void ProcessPendingEvents();

private:
    struct Grab {
        unsigned keycode;
        unsigned modifiers;              // Shift, Control and Mod1 only
        std::vector<unsigned> variants;  // modifiers with each Lock/NumLock combination
    };

    // Releases every variant of grab.
    void Ungrab(const Grab& grab);

    X11Connection& connection_;
    std::map<int, Grab> grabs_;
    std::function<void(int id)> receiver_;
};

}  // namespace pelmora
