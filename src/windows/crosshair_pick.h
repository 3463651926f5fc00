// SPDX-License-Identifier: MIT
// The pick sub-page of the window-handle page (句柄选页(0)): the handle, title and class of
// one window, read automatically on every sampling tick or, with Check4 pressed, taken
// by dragging the crosshair from its box onto a window.
#pragma once

#include <array>

#include "platform/controls.h"
#include "platform/desktop.h"

namespace pelmora {

// The 32 x 32 crosshair: transparent (-1) except for black one-pixel lines through the
// centre and five-pixel bars across each end.
Surface CrossHairImage();

class CrossHairPick {
public:
    // window: the main window, whose pointer is the crosshair during a drag;
    // focusAfterSwitch takes the keyboard focus after Check4 (the sampling switch).
    CrossHairPick(Desktop& desktop, ControlHost& window, Control& focusAfterSwitch);

    // The controls inside the sub-page frame, with room for the clipboard buttons beside
    // the handle and the title.
    void Place(ControlHost& host, Frame& subPage);

    // The tick's read-out of the window at the pointer position the tick has read: only
    // while the sub-page is the selected one (whether or not its page is on show) and
    // Check4 is not pressed.
    void AutomaticReadOut(const Frame& subPage, ScreenPoint pointer);
    // Text2, Text1 and Text3 for the window, in that order.
    void ShowWindow(WindowHandle window);

    // Pressed: the read-out stops following the pointer and the crosshair box is armed.
    void Check4_Click();
    // A left press lifts the crosshair out of its box: the pointer becomes the crosshair.
    void picCrossHair_MouseDown(const MouseEvent& event);
    // While dragging: the window under the pointer into the fields.
    void picCrossHair_MouseMove(const MouseEvent& event);
    // The release drops the crosshair back into its box.
    void picCrossHair_MouseUp(const MouseEvent& event);

    TextBox Text2;                   // handle
    TextBox Text1;                   // title
    TextBox Text3;                   // class name
    std::array<Label, 4> 拾取标签;   // "窗口句柄：", "窗口标题：", "窗口类名：", "准心"
    PictureBox picCrossHair;         // the crosshair's box, where a drag starts
    PictureBox imgCursor;            // holds the crosshair as the pointer image of a drag
    CheckBox Check4;                 // "P": stop following the pointer, arm the crosshair
    bool CrossHairDragging = false;  // a crosshair drag is under way

private:
    Desktop& desktop_;
    ControlHost& window_;
    Control& focusAfterSwitch_;
};

}  // namespace pelmora
