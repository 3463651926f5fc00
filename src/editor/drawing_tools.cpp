// SPDX-License-Identifier: MIT
#include "editor/drawing_tools.h"

#include <algorithm>
#include <string>

#include "base/rounding.h"
#include "editor/pixel_buffer.h"
#include "editor/editor_pictures.h"
#include "sampling/colour_model.h"

namespace pelmora {

namespace {
constexpr std::int32_t kPickRed = kColourRed;
constexpr std::int32_t kPickGreen = kColourGreen;

// The tool each button 控制(index) chooses.
constexpr ToolMode kToolOfButton[4] = {ToolMode::剪图, ToolMode::铅笔, ToolMode::填充, ToolMode::色选};

// The pointer picture each tool button shows over the display: pencil, fill, colour select.
int PointerOfTool(int toolIndex) { return toolIndex == 1 ? 0 : toolIndex == 2 ? 2 : 1; }
}  // namespace

DrawingTools::DrawingTools(EditorCanvas& canvas, SelectionBox& selection, ColourBoxes& colours, Dialogs& dialogs)
    : canvas_(canvas), selection_(selection), colours_(colours), dialogs_(dialogs) {
    for (int i = 0; i < 4; ++i) 鼠标[static_cast<std::size_t>(i)] = ToolPointer(i);
}

void DrawingTools::Place(ControlHost& host, Frame& page) {
    for (int i = 0; i < 4; ++i) {
        OptionButton& button = 控制[static_cast<std::size_t>(i)];
        button.Place(host, &page, "控制", i, {8, 16 + i * 24, 25, 25});
        button.SetGraphical(true);
        button.SetPicture(ToolButtonPicture(i));
        button.SetToolTip(ToolModeName(kToolOfButton[i]));
    }
    控制[0].Select();  // the cut tool, before the handlers are wired
    for (int i = 0; i < 4; ++i) 控制[static_cast<std::size_t>(i)].onClick = [this, i] { 控制_Click(i); };

    确认.Place(host, &page, "确认", -1, {4, 152, 34, 22});
    确认.SetCaption("确认");
    确认.SetToolTip("只留下选中的颜色");
    确认.SetVisible(false);
    确认.onClick = [this] { 确认_Click(); };

    坐标.Place(host, &page, "坐标", -1, {304, 245, 108, 14});

    PictureBox& display = canvas_.显示图像;
    const auto x = [](const MouseEvent& e) { return static_cast<float>(e.x); };
    const auto y = [](const MouseEvent& e) { return static_cast<float>(e.y); };
    display.onMouseDown = [this, x, y](const MouseEvent& e) { 显示图像_MouseDown(e.button, x(e), y(e)); };
    display.onMouseMove = [this, x, y](const MouseEvent& e) { 显示图像_MouseMove(e.button, x(e), y(e)); };
    display.onMouseUp = [this, x, y](const MouseEvent& e) { 显示图像_MouseUp(e.button, x(e), y(e)); };
    display.onDblClick = [this] { 显示图像_DblClick(); };
    selection_.LblPos.onDblClick = [this] { 显示图像_DblClick(); };
}

void DrawingTools::UseToolPointer(int index) {
    PictureBox& display = canvas_.显示图像;
    display.SetMouseIcon(鼠标[static_cast<std::size_t>(index)]);
    display.SetMousePointer(MousePointer::Custom);
}

void DrawingTools::控制_Click(int index) {
    确认.SetVisible(false);
    EditorState& state = canvas_.state;
    const bool wasSelectingColours = state.ToolModeNow() == ToolMode::色选;
    switch (index) {
        case 0:
            if (wasSelectingColours) canvas_.RedrawDisplay(canvas_.结果图像, true);
            state.SetToolMode(ToolMode::剪图);
            break;
        case 3:
            state.RestartPickCount();
            // A half-bright copy of the working image, which the picks are marked on.
            canvas_.成品图像 = canvas_.结果图像;
            DimPicture(canvas_.成品图像, canvas_.成品图像);
            canvas_.RedrawDisplay(canvas_.成品图像, false);
            state.SetToolMode(ToolMode::色选);
            break;
        case 1:
        case 2:
            if (index == 2) state.RestartPickCount();
            if (wasSelectingColours) canvas_.RedrawDisplay(canvas_.结果图像, true);
            state.SetToolMode(index == 1 ? ToolMode::铅笔 : ToolMode::填充);
            break;
        default: return;
    }
    if (index != 0) {
        UseToolPointer(PointerOfTool(index));
        selection_.Reset();
    }
    canvas_.显示图像.SetFocus();
}

Cell DrawingTools::ImagePixel(float x, float y) const {
    if (canvas_.ZoomedEightTimes()) {
        const Cell cell = CellOrigin(x, y);
        return {cell.x / kZoom, cell.y / kZoom};
    }
    return {RoundClamped32(x), RoundClamped32(y)};
}

void DrawingTools::Pencil(float x, float y) {
    const std::int32_t colour = colours_.Foreground();
    PictureBox& display = canvas_.显示图像;
    if (!canvas_.ZoomedEightTimes()) {
        const std::int32_t px = RoundClamped32(x), py = RoundClamped32(y);
        display.EditImageArea({px, py, 1, 1}).SetPixel(px, py, colour);
        canvas_.结果图像.SetPixel(px, py, colour);
        return;
    }
    const Cell cell = CellOrigin(x, y);
    // With the grid on, the square leaves the cell's grid pixels on its left and top.
    const int inset = canvas_.显示网格.Value() == 1 ? 1 : 0;
    display.EditImageArea({cell.x, cell.y, kZoom, kZoom})
        .Rectangle(cell.x + inset, cell.y + inset, cell.x + kZoom, cell.y + kZoom, colour, colour);
    canvas_.结果图像.SetPixel(cell.x / kZoom, cell.y / kZoom, colour);
}

void DrawingTools::Fill(float x, float y) {
    const Cell pixel = ImagePixel(x, y);
    canvas_.state.PickOnly(canvas_.结果图像.Pixel(pixel.x, pixel.y));
    canvas_.state.RecolourPicked(canvas_.结果图像, canvas_.结果图像, colours_.Foreground(), 0, dialogs_);
    canvas_.RedrawDisplay(canvas_.结果图像, true);
}

void DrawingTools::PickColour(float x, float y) {
    const Cell pixel = ImagePixel(x, y);
    canvas_.state.AddPickedColour(canvas_.结果图像.Pixel(pixel.x, pixel.y));
    PictureBox& display = canvas_.显示图像;
    if (canvas_.ZoomedEightTimes()) {
        // A red and, inside it, a green square outline; the cell's centre keeps its colour.
        const Cell cell = CellOrigin(x, y);
        Surface& shown = display.EditImageArea({cell.x, cell.y, kZoom, kZoom});
        shown.Rectangle(cell.x + 1, cell.y + 1, cell.x + 8, cell.y + 8, kPickRed, std::nullopt);
        shown.Rectangle(cell.x + 2, cell.y + 2, cell.x + 7, cell.y + 7, kPickGreen, std::nullopt);
    } else {
        display.EditImageArea({pixel.x, pixel.y, 1, 1}).SetPixel(pixel.x, pixel.y, kPickRed);
    }
    canvas_.成品图像.SetPixel(pixel.x, pixel.y, kPickRed);
    确认.SetVisible(true);
}

void DrawingTools::StartCut(float x, float y) {
    EditorState& state = canvas_.state;
    state.BeginCutDrag();
    if (state.SelectionModeNow() != SelectionMode::draw) {
        SelectAnchorX_ = selection_.Left();
        SelectAnchorY_ = selection_.Top();
        if (HitsSelection(x, y)) {
            canvas_.显示图像.SetMousePointer(MousePointer::SizeAll);
            MoveAnchorX_ = x;
            MoveAnchorY_ = y;
        } else {
            UseToolPointer(3);
            SelectAnchorX_ = x;
            SelectAnchorY_ = y;
            state.StartNewSelection();
        }
    }
    if (state.SelectionModeNow() == SelectionMode::draw) {
        selection_.选框.SetVisible(true);
        selection_.Move(x, y, 0, 0);
        SelectAnchorX_ = x;
        SelectAnchorY_ = y;
        selection_.SetHandlesVisible(true);
    }
}

void DrawingTools::DragCut(float& x, float& y) {
    const Rect display = canvas_.显示图像.Geometry();
    const EditorState& state = canvas_.state;
    if (state.SelectionModeNow() == SelectionMode::draw) {
        x = std::clamp(x, 0.0F, static_cast<float>(display.width));
        y = std::clamp(y, 0.0F, static_cast<float>(display.height));
        const float ax = SelectAnchorX_, ay = SelectAnchorY_;
        if (x != ax && y != ay)
            selection_.Move(std::min(x, ax), std::min(y, ay), x > ax ? x - ax : ax - x, y > ay ? y - ay : ay - y);
        selection_.ShowSize(canvas_.ZoomedEightTimes());
    } else if (state.HandleDragStateNow() != HandleDragState::Start) {
        float left = SelectAnchorX_ - (MoveAnchorX_ - x);
        float top = SelectAnchorY_ - (MoveAnchorY_ - y);
        const float width = selection_.Width(), height = selection_.Height();
        if (left < 0) left = 0;
        if (top < 0) top = 0;
        if (left + width > static_cast<float>(display.width)) left = static_cast<float>(display.width) - width;
        if (top + height > static_cast<float>(display.height)) top = static_cast<float>(display.height) - height;
        selection_.Move(left, top, width, height);
    }
    selection_.PlaceSizeLabel();
    selection_.ImageMove();
    selection_.选框.SetVisible(true);
    selection_.LblPos.SetVisible(true);
}

void DrawingTools::EndCut() {
    canvas_.state.FinishDrawing();
    if (canvas_.ZoomedEightTimes()) {
        selection_.Snap();
        selection_.ImageMove();
    }
    canvas_.state.EndCutDrag();
    selection_.ShowSize(canvas_.ZoomedEightTimes());
    selection_.PlaceSizeLabel();
}

bool DrawingTools::HitsSelection(float x, float y) {
    SelectionRect_ = selection_.Bounds();
    return InsideBounds(SelectionRect_, RoundClamped32(x), RoundClamped32(y));
}

void DrawingTools::TrackCutPointer(float x, float y) {
    if (HitsSelection(x, y)) canvas_.显示图像.SetMousePointer(MousePointer::SizeAll);
    else UseToolPointer(3);
    LastMouseX_ = x;
    LastMouseY_ = y;
}

void DrawingTools::ShowStatus(float x, float y) {
    const Cell pixel = ImagePixel(x, y);
    const std::int32_t colour = canvas_.结果图像.Pixel(pixel.x, pixel.y);
    坐标.SetCaption(std::to_string(pixel.x) + "," + std::to_string(pixel.y) + " " + ColorHex6(colour));
}

void DrawingTools::显示图像_MouseDown(int button, float x, float y) {
    if (button == kMiddleButton) {
        canvas_.StartPan(x, y);
        canvas_.显示图像.SetMousePointer(MousePointer::SizeAll);
        return;
    }
    if (button != kLeftButton) return;
    switch (canvas_.state.ToolModeNow()) {
        case ToolMode::铅笔: Pencil(x, y); break;
        case ToolMode::填充: Fill(x, y); break;
        case ToolMode::色选: PickColour(x, y); break;
        case ToolMode::剪图: StartCut(x, y); break;
    }
}

void DrawingTools::显示图像_MouseMove(int button, float x, float y) {
    // At 1:1 the status shows the pixel under the pointer, before the drag clamps it.
    const float unclampedX = x, unclampedY = y;
    const EditorState& state = canvas_.state;
    if (state.ToolModeNow() == ToolMode::剪图 && (button & kMiddleButton) == 0) TrackCutPointer(x, y);
    if (button == kLeftButton) {
        if (state.ToolModeNow() == ToolMode::铅笔) Pencil(x, y);
        if (state.CutDragActive()) DragCut(x, y);
    }
    if (canvas_.ZoomedEightTimes()) ShowStatus(x, y);
    else ShowStatus(unclampedX, unclampedY);
}

void DrawingTools::显示图像_MouseUp(int button, float x, float y) {
    if (button == kMiddleButton) {
        canvas_.EndPan(x, y);
        for (int tool = 1; tool < 4; ++tool)
            if (控制[static_cast<std::size_t>(tool)].Value()) UseToolPointer(PointerOfTool(tool));
        return;
    }
    if (button != kLeftButton) return;
    switch (canvas_.state.ToolModeNow()) {
        case ToolMode::铅笔:
        case ToolMode::填充: canvas_.PushHistory(); break;
        case ToolMode::剪图: EndCut(); break;
        case ToolMode::色选: break;
    }
}

void DrawingTools::显示图像_DblClick() {
    if (canvas_.state.ToolModeNow() != ToolMode::剪图) return;
    if (!HitsSelection(LastMouseX_, LastMouseY_)) return;
    // The box in image pixels: the cropped block, moved to the top-left and kept alone.
    const float scale = canvas_.ZoomedEightTimes() ? static_cast<float>(kZoom) : 1.0F;
    const std::int32_t width = RoundClamped32(selection_.Width() / scale);
    const std::int32_t height = RoundClamped32(selection_.Height() / scale);
    Surface& result = canvas_.结果图像;
    result.BitBlt(0, 0, width, height, result, RoundClamped32(selection_.Left() / scale),
                  RoundClamped32(selection_.Top() / scale));
    result.Resize(width, height, kEditorLightGrey);
    canvas_.ShowResized(result, RoundClamped32(selection_.Width()), RoundClamped32(selection_.Height()));
    canvas_.PushHistory();
    canvas_.UpdateScrollRanges();
    selection_.Reset();
    canvas_.state.HoldSelectionAfterCrop();
}

void DrawingTools::确认_Click() {
    canvas_.state.RecolourPicked(canvas_.结果图像, canvas_.结果图像, colours_.Background(), -1, dialogs_);
    canvas_.RedrawDisplay(canvas_.结果图像, true);
    canvas_.PushHistory();
    canvas_.显示图像.SetMousePointer(MousePointer::Default);
    确认.SetVisible(false);
    控制[0].Select();
    canvas_.state.SetToolMode(ToolMode::剪图);
}

}  // namespace pelmora
