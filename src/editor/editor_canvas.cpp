// SPDX-License-Identifier: MIT
#include "editor/editor_canvas.h"

#include <cmath>

#include "base/rounding.h"
#include "editor/dashed_grid.h"
#include "editor/zoom_cells.h"

namespace pelmora {

namespace {
constexpr int kStartWidth = 153, kStartHeight = 105;
constexpr int kScrollToLeft = 9;  // the display's Left is -Value - 9
constexpr int kLargestZoomableWidth = 800, kLargestZoomableHeight = 600;

}  // namespace

void EditorCanvas::Place(ControlHost& host, Frame& page) {
    背景图像框架.Place(host, &page, "背景图像框架", -1, {40, 16, kViewportWidth, kViewportHeight});
    背景图像框架.SetBackColor(kViewportGrey);
    显示图像.Place(host, &背景图像框架, "显示图像", -1, {3, 3, kStartWidth, kStartHeight});
    显示图像.SetBorder(false);
    VScroll1.Place(host, &page, "VScroll1", -1, {368, 16, 9, kViewportHeight});
    HScroll1.Place(host, &page, "HScroll1", -1, {40, 232, kViewportWidth, 9});
    HScroll1.onChange = HScroll1.onScroll = [this] { HScroll1_Change(); };
    VScroll1.onChange = VScroll1.onScroll = [this] { VScroll1_Change(); };
    const char* const zoomCaptions[2] = {"＋", "－"};
    for (int i = 0; i < 2; ++i) {
        缩放[i].Place(host, &page, "缩放", i, {384, 184 + i * 24, 25, 25});
        缩放[i].SetCaption(zoomCaptions[i]);
        缩放[i].SetToolTip(i == 0 ? "放大" : "缩小");
        缩放[i].onClick = [this, i] { 缩放_Click(i); };
    }
    显示网格.Place(host, &page, "显示网格", -1, {224, 241, 73, 20});
    显示网格.SetCaption("显示网格");
    显示网格.SetValue(1);  // the grid is on from the start; set before its handler is wired
    显示网格.onClick = [this] { 显示网格_Click(); };
}

void EditorCanvas::Reset() {
    结果图像 = Surface(kStartWidth, kStartHeight, kEditorLightGrey);
    成品图像 = Surface(kStartWidth, kStartHeight, kEditorLightGrey);
    historyRing.Reset();
    ResizeDisplay(kStartWidth, kStartHeight);
    显示图像.SetBackColor(kEditorLightGrey);
    HScroll1.SetMin(kScrollMin);
    VScroll1.SetMin(kScrollMin);
    HScroll1.SetValue(kScrollMin);
    VScroll1.SetValue(kScrollMin);
    UpdateScrollRanges();
    state.ResetCut();
    ZoomedEightTimes_ = false;
    state.SetToolMode(ToolMode::剪图);
}

void EditorCanvas::ResizeDisplay(int width, int height) {
    Rect area = 显示图像.Geometry();
    area.width = width;
    area.height = height;
    显示图像.SetGeometry(area);
    显示图像.EditImage().ResizeForOverwrite(width, height);
}

void EditorCanvas::UpdateScrollRanges() {
    const int width = 显示图像.Geometry().width;
    const int height = 显示图像.Geometry().height;
    HScroll1.SetMax(RoundClamped16(width - kViewportWidth));
    VScroll1.SetMax(RoundClamped16(height - kViewportHeight));
    HScroll1.SetEnabled(true);
    VScroll1.SetEnabled(true);
    if (HScroll1.Max() <= 0) {
        HScroll1.SetEnabled(false);
        HScroll1.SetMax(RoundClamped16(width));
    }
    if (VScroll1.Max() <= 0) {
        VScroll1.SetEnabled(false);
        VScroll1.SetMax(RoundClamped16(height));
    }
    // A bar takes no page step of 0; a maximum of 1 would give one, so it gets 1.
    VScroll1.SetLargeChange(RoundClamped16(VScroll1.Max() * 0.5));
    HScroll1.SetLargeChange(RoundClamped16(HScroll1.Max() * 0.5));
}

void EditorCanvas::HScroll1_Change() {
    Rect area = 显示图像.Geometry();
    area.left = -HScroll1.Value() - kScrollToLeft;
    显示图像.SetGeometry(area);
}

void EditorCanvas::VScroll1_Change() {
    Rect area = 显示图像.Geometry();
    area.top = -VScroll1.Value() - kScrollToLeft;
    显示图像.SetGeometry(area);
}

void EditorCanvas::缩放_Click(int index) {
    if (index == 0 && !ZoomedEightTimes_) {
        const Rect area = 显示图像.Geometry();
        if (area.width > kLargestZoomableWidth || area.height > kLargestZoomableHeight) {
            dialogs_.ShowMessage(kZoomLimitMessage);
            return;
        }
        ResizeDisplay(area.width * kZoom, area.height * kZoom);
        const Surface& source = ShownSource();
        Surface& display = 显示图像.EditImage();
        display.StretchBlt(0, 0, display.Width(), display.Height(), source, 0, 0, source.Width(), source.Height());
        if (显示网格.Value() == 1) DrawDashedGrid(display, source.Width(), source.Height());
        ZoomedEightTimes_ = true;
        UpdateScrollRanges();
    } else if (index == 1 && ZoomedEightTimes_) {
        ShowActualSize(ShownSource(), 结果图像.Width(), 结果图像.Height());
        UpdateScrollRanges();
    }
}

void EditorCanvas::显示网格_Click() {
    if (state.ToolModeNow() == ToolMode::色选) state.ClearPicks();
    Surface& display = 显示图像.EditImage();
    if (显示网格.Value() == 0) {
        display.StretchBlt(0, 0, display.Width(), display.Height(), 结果图像, 0, 0, 结果图像.Width(),
                           结果图像.Height());
    } else if (ZoomedEightTimes_) {
        DrawDashedGrid(display, 结果图像.Width(), 结果图像.Height());
    }
}

void EditorCanvas::RedrawDisplay(const Surface& source, bool clearFirst) {
    Surface& display = 显示图像.EditImage();
    if (clearFirst) display.Clear(显示图像.BackColor());
    display.StretchBlt(0, 0, display.Width(), display.Height(), source, 0, 0, source.Width(), source.Height());
    if (ZoomedEightTimes_ && 显示网格.Value() == 1) DrawDashedGrid(display, source.Width(), source.Height());
}

void EditorCanvas::ShowResized(const Surface& source, int width, int height) {
    ResizeDisplay(width, height);
    RedrawDisplay(source, true);
}

void EditorCanvas::ShowActualSize(const Surface& source, int width, int height) {
    ResizeDisplay(width, height);
    Surface& display = 显示图像.EditImage();
    display.Clear(显示图像.BackColor());
    display.BitBlt(0, 0, width, height, source, 0, 0);
    ZoomedEightTimes_ = false;
}

void EditorCanvas::StartPan(double x, double y) {
    PanStartH_ = HScroll1.Value();
    PanStartV_ = VScroll1.Value();
    PanStartX_ = RoundClamped32(x);
    PanStartY_ = RoundClamped32(y);
}

void EditorCanvas::EndPan(double x, double y) {
    const auto target = [](double start, double at, double startValue, int viewportSize, int displaySize,
                           std::int16_t max) {
        double value = RoundHalfEven(start - at + startValue);
        if (viewportSize - displaySize > 0 || value < kScrollMin) value = kScrollMin;
        if (value > max) value = max;
        return RoundClamped16(value);
    };
    const Rect area = 显示图像.Geometry();
    const std::int16_t h = target(PanStartX_, x, PanStartH_, kViewportWidth, area.width, HScroll1.Max());
    const std::int16_t v = target(PanStartY_, y, PanStartV_, kViewportHeight, area.height, VScroll1.Max());
    HScroll1.SetValue(h);
    VScroll1.SetValue(v);
}

}  // namespace pelmora
