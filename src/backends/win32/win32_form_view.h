// SPDX-License-Identifier: MIT
// The window on the Windows desktop: a fixed-size top-level window holding one child
// window per headless control. User actions raise the controls' events; after every event
// (user, timer or hotkey) the child windows are synced from the controls that changed,
// by the same rule as the Qt view.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/controls.h"

namespace pelmora {

class Win32FormView {
public:
    // The window is created hidden, with caption and a client area of exactly
    // clientWidth x clientHeight layout pixels, at the window's dpi: scaled by dpi/96 (edges
    // rounded up), as is every child window, font, border and picture, while mouse
    // positions reach the controls' handlers in layout pixels. On WM_DPICHANGED it is laid
    // out again at the new dpi.
    Win32FormView(ControlHost& host, const std::string& caption, int clientWidth, int clientHeight);
    ~Win32FormView();
    Win32FormView(const Win32FormView&) = delete;
    Win32FormView& operator=(const Win32FormView&) = delete;

    HWND Window() const;
    // The child window of a control (nullptr for a timer).
    HWND WindowOf(const Control& control) const;
    // The control whose window window is (nullptr for any other window). Each child
    // window's control id is the control's position in the host's list plus one.
    Control* ControlOf(HWND window) const;

    // Runs an event handler of the controls, then syncs the windows.
    void Dispatch(const std::function<void()>& handler);
    // Mirrors every control whose state changed since the last sync.
    void Sync();

    // Moves the keyboard focus on Tab (Shift+Tab backwards) to the next enabled, visible
    // control that takes the keyboard, in the controls' order, as the Qt view does. Windows'
    // own dialog navigation follows the windows' stacking instead, which is the reverse
    // here: later controls lie above earlier ones. True when it took the message, which
    // then must not be dispatched.
    bool TakeTabKey(const MSG& message);

    // Called when the window is asked to close (or Windows ends the session), before it
    // is destroyed; the program's message loop ends once it is gone.
    std::function<void()> onClose;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace pelmora
