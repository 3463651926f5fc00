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

    void Check4_Click();
    void picCrossHair_MouseDown(const MouseEvent& event);
    void picCrossHair_MouseMove(const MouseEvent& event);
    void picCrossHair_MouseUp(const MouseEvent& event);

    TextBox Text2;  // handle
    TextBox Text1;  // title
    TextBox Text3;  // class name
    std::array<Label, 4> 拾取标签;  // "窗口句柄：", "窗口标题：", "窗口类名：", "准心"
    PictureBox picCrossHair;
    PictureBox imgCursor;  // holds the crosshair as the pointer image of a drag
    CheckBox Check4;
    bool CrossHairDragging = false;

private:
    Desktop& desktop_;
    ControlHost& window_;
    Control& focusAfterSwitch_;
};

}  // namespace pelmora
