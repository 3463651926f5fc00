// SPDX-License-Identifier: MIT
// The bookkeeping every view of the controls keeps the same way, whatever draws the
// windows: which controls changed since the view last mirrored them, the window's focus,
// visibility and pointer, the timers' countdowns, the user's actions that must be
// mirrored even when their handler changed nothing, and which events a mouse input
// raises. A view asks it what to redo and keeps only what draws and what receives input.
#pragma once

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/controls.h"

namespace pelmora {

// What a view redoes at one sync to show the controls and the window as they are now.
struct ViewWork {
    struct ControlWork {
        Control* control = nullptr;
        // The control's pointer (shape or custom image) differs from the one the view
        // last showed over it.
        bool pointerChanged = false;
    };
    // The controls to mirror onto their widgets, in the host's order; never a timer.
    std::vector<ControlWork> controls;
    // Timers whose countdown starts from now with their interval (a new run, or one that
    // was not counting), and timers to stop (disabled, or without a positive interval).
    std::vector<const Timer*> timersToStart;
    std::vector<const Timer*> timersToStop;
    // The control that takes the keyboard focus now, or nullptr.
    Control* focus = nullptr;
    // The window-wide pointer changed: windowPointer is the custom image shown over the
    // whole window, or nullptr for none (each control's own pointer shows again).
    bool pointerChanged = false;
    const PointerImage* windowPointer = nullptr;
    // The window is to be shown or hidden, as the host's WindowVisible says.
    bool visibilityChanged = false;
};

// The custom image the host's window-wide pointer shows, or nullptr when it shows none
// (not Custom, or Custom with an empty image).
const PointerImage* WindowPointerImage(const ControlHost& host);

enum class MouseAction { Press, Release, DoubleClick, Move };

// A user's mouse input on a control's widget, as the view received it.
struct MouseInput {
    MouseAction action = MouseAction::Move;
    // The button pressed, released or double clicked (kLeftButton ..., 0 for a button the
    // framework does not know); for a move, every button held.
    int button = 0;
    int shift = 0;  // Shift 1, Ctrl 2, Alt 4
    // Layout pixels relative to the control's top-left corner; outside it while the
    // control has the capture.
    int x = 0;
    int y = 0;
    // The position lies on the control's widget (a release elsewhere clicks nothing).
    bool onControl = true;
};

class ViewSync {
public:
    // sync is the view's own sync: it calls Take and carries out what it returns.
    ViewSync(const ControlHost& host, std::function<void()> sync);

    // What changed since the last Take (the first one: every control), now counted as
    // mirrored. A control is mirrored again only when its revision changed since, or a
    // user's action on it asked for it.
    ViewWork Take();
    // Every control and the window-wide pointer again at the next Take: the view laid its
    // windows out anew (at another scale).
    void MirrorAllAgain();

    // Runs an event handler of the controls (a timer's, a hotkey's, a click's), then the
    // view's sync.
    void Dispatch(const std::function<void()>& handler);
    // Runs the handler of a user's action on control's widget, then the view's sync, which
    // mirrors the control even when the handler left it unchanged: the widget shows what
    // the user did, which need not be what the control holds.
    void DispatchUserAction(Control& control, const std::function<void()>& handler);

    // Raises, each through Dispatch, the events a mouse input on control's widget raises:
    // MouseDown, MouseUp then (a left press and release on a label) Click, MouseMove,
    // DblClick (a list raises that from its own notice of a double click on a line). A
    // disabled control raises nothing, and only handlers that are set are dispatched.
    // The release that ends a left double click clicks nothing; every left press starts
    // afresh, so a release that went elsewhere leaves nothing behind.
    void RaiseMouse(Control& control, const MouseInput& input);

private:
    // What the view last showed of one control.
    struct Shown {
        bool mirrored = false;
        std::uint64_t revision = 0;
        std::pair<MousePointer, const PointerImage*> pointer{MousePointer::Default, nullptr};
        std::uint64_t timerRun = 0;
        bool timerCounting = false;
    };
    void TakeTimer(const Timer& timer, Shown& shown, ViewWork& work);

    const ControlHost& host_;
    std::function<void()> sync_;
    std::unordered_map<const Control*, Shown> shown_;
    std::uint64_t focusRevision_ = 0;
    std::uint64_t pointerRevision_ = 0;
    bool pointerForced_ = false;
    std::uint64_t windowRevision_ = 0;
    bool leftDoubleClicked_ = false;
};

}  // namespace pelmora
