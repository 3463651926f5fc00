// SPDX-License-Identifier: MIT
// The editor's canvas on the page "处理图片" (Frame2(4)): the working image and the
// pictures kept beside it, the 1:1 and 8:1 views inside a fixed viewport with its scroll
// bars and middle-button panning, the dotted grid, the six-slot history ring, and the
// editor state every editor handler reads and writes.
#pragma once

#include <array>
#include <cstdint>

#include "editor/editor_state.h"
#include "editor/history_ring.h"
#include "platform/controls.h"
#include "platform/dialogs.h"

namespace pelmora {

inline constexpr int kViewportWidth = 329;                  // 背景图像框架's outer size
inline constexpr int kViewportHeight = 217;                 // and outer height
inline constexpr std::int16_t kScrollMin = -12;             // both scroll bars' minimum: the display at (3, 3)
inline constexpr std::int32_t kEditorLightGrey = 14737632;  // (224, 224, 224)
inline constexpr std::int32_t kViewportGrey = 8421504;      // (128, 128, 128)
// The message a zoom in gives when the 8:1 display would pass 6400 x 4800.
inline constexpr const char* kZoomLimitMessage = "不能放大超过800*600大小的图！";

class EditorCanvas {
public:
    // Takes the dialogs for the zoom limit's message and the pick list's error.
    explicit EditorCanvas(Dialogs& dialogs) : dialogs_(dialogs) {}

    // The viewport with the display in it, the scroll bars, the zoom buttons and the grid
    // box on the page; wires their events.
    void Place(ControlHost& host, Frame& page);
    // The editor step of start-up: every picture and state variable at its start value.
    void Reset();

    // Zoom in (0) to 8:1 or out (1) to 1:1; a click at the zoom it asks for does nothing.
    void 缩放_Click(int index);
    // The scroll bars move the display: its Left is -HScroll1 - 9, its Top -VScroll1 - 9.
    void HScroll1_Change();
    void VScroll1_Change();
    // The grid box toggled: the grid drawn or taken away; colour select's picks go.
    void 显示网格_Click();
    // Middle-button panning: the press keeps where it started, the release scrolls so that
    // the image follows the hand.
    void StartPan(double x, double y);
    void EndPan(double x, double y);

    // Fits both scroll bars to the display's size; a display that fits disables its bar.
    void UpdateScrollRanges();
    // Shows source in the display at the current zoom, with the grid at 8:1 when it is on.
    void RedrawDisplay(const Surface& source, bool clearFirst);
    // The display resized to width x height, cleared, then showing source as RedrawDisplay does.
    void ShowResized(const Surface& source, int width, int height);
    // The display at 1:1: resized to width x height, cleared, then showing source copied
    // pixel for pixel from its top-left corner, without the grid.
    void ShowActualSize(const Surface& source, int width, int height);
    // Stores the working image in the history ring.
    void PushHistory() { historyRing.Push(结果图像); }

    // Whether the display shows every image pixel as an 8 x 8 block.
    bool ZoomedEightTimes() const { return ZoomedEightTimes_; }
    // The display's picture.
    const Surface& Display() const { return 显示图像.Image(); }

    PictureBox 背景图像框架;                                 // the viewport
    PictureBox 显示图像;                                     // the display: the working image at 1:1 or 8:1
    ScrollBar HScroll1{ScrollBar::Orientation::Horizontal};  // scrolls the display sideways
    ScrollBar VScroll1{ScrollBar::Orientation::Vertical};    // scrolls the display up and down
    CheckBox 显示网格;                                       // the grid over the 8:1 display, on from the start
    std::array<CommandButton, 2> 缩放;                       // zoom in, zoom out

    // The pictures that never show.
    Surface 结果图像;         // the working image at 1:1: every edit ends here
    Surface 成品图像;         // the picture colour select dims and marks, shown instead while it is active
    HistoryRing historyRing;  // 历史记录: the snapshots of the working image
    EditorState state;        // the tool, the cut and the picks

private:
    // The source colour select shows instead of the working image.
    const Surface& ShownSource() const { return state.ToolModeNow() == ToolMode::色选 ? 成品图像 : 结果图像; }
    // Resizes the display, picture and control together; the caller draws every pixel.
    void ResizeDisplay(int width, int height);

    Dialogs& dialogs_;
    bool ZoomedEightTimes_ = false;  // the display is at 8:1
    // Panning: the scroll values and the pointer (rounded) when the middle button went down.
    std::int32_t PanStartH_ = 0, PanStartV_ = 0, PanStartX_ = 0, PanStartY_ = 0;
};

}  // namespace pelmora
