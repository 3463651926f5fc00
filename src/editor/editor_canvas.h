// The editor's canvas on the page "处理图片" (Frame2(4)): the working image and the
// pictures kept beside it, the 1:1 and 8:1 views inside a fixed viewport with its scroll
// bars and middle-button panning, the dotted grid, the six-slot history ring, and the
// editor state every editor handler reads and writes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/dialogs.h"

namespace pelmora {

inline constexpr int kViewportWidth = 329;   // 背景图像框架's outer size
inline constexpr int kViewportHeight = 217;
inline constexpr int kHistorySlots = 6;
inline constexpr std::int16_t kScrollMin = -12;
inline constexpr std::int32_t kEditorLightGrey = 14737632;  // (224, 224, 224)
inline constexpr std::int32_t kViewportGrey = 8421504;      // (128, 128, 128)
inline constexpr const char* kZoomLimitMessage = "不能放大超过800*600大小的图！";

class EditorCanvas {
public:
    explicit EditorCanvas(Dialogs& dialogs) : dialogs_(dialogs) {}

    void Place(ControlHost& host, Frame& page);
    // The editor step of start-up: every picture and state variable at its start value.
    void Reset();

    void 缩放_Click(int index);
    void HScroll1_Change();
    void VScroll1_Change();
    void 显示网格_Click();
    // Middle-button panning: the press keeps where it started, the release scrolls so that
    // the image follows the hand.
    void StartPan(double x, double y);
    void EndPan(double x, double y);

    void UpdateScrollRanges();
    // Shows source in the display at the current zoom, with the grid at 8:1 when it is on.
    void RedrawDisplay(const Surface& source, bool clearFirst);
    // The display resized to width x height, cleared, then showing source as RedrawDisplay does.
    void ShowResized(const Surface& source, int width, int height);
    // The display resized to width x height, cleared, then showing source copied pixel for
    // pixel from its top-left corner, without the grid.
    void ShowActualSize(const Surface& source, int width, int height);
    void PushHistory();

    bool Zoomed() const { return ZoomedEightTimes != 0; }
    const Surface& Display() const { return 显示图像.Image(); }

    PictureBox 背景图像框架;  // the viewport
    PictureBox 显示图像;      // the display: the working image at 1:1 or 8:1
    ScrollBar HScroll1{ScrollBar::Orientation::Horizontal};
    ScrollBar VScroll1{ScrollBar::Orientation::Vertical};
    CheckBox 显示网格;
    std::array<CommandButton, 2> 缩放;  // zoom in, zoom out

    // The pictures that never show: the working image, the copy colour select marks on,
    // and the history ring.
    Surface 结果图像;
    Surface 成品图像;
    std::array<Surface, kHistorySlots> 历史记录;

    std::string ToolMode = "剪图";
    std::int16_t CutDragActive = 0;
    std::string SelectionMode = "draw";
    std::string HandleDragState = "Stop";
    std::int32_t PickedColorCount = 0;
    std::vector<std::int32_t> PickedColors;
    std::int16_t ZoomedEightTimes = 0;
    std::int16_t HistoryNext = 0;
    std::int16_t HistoryLast = 0;
    std::array<std::int16_t, kHistorySlots> HistoryFilled{};
    float SelectAnchorX = 0, SelectAnchorY = 0;
    float MoveAnchorX = 0, MoveAnchorY = 0;
    float LastMouseX = 0, LastMouseY = 0;
    std::array<std::int32_t, 4> SelectionRect{};
    std::int32_t PanStartH = 0, PanStartV = 0, PanStartX = 0, PanStartY = 0;

private:
    // The source colour select shows instead of the working image.
    const Surface& ShownSource() const { return ToolMode == "色选" ? 成品图像 : 结果图像; }
    // Resizes the display, picture and control together; the caller draws every pixel.
    void ResizeDisplay(int width, int height);

    Dialogs& dialogs_;
};

}  // namespace pelmora
