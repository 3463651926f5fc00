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

// The pointer picture each tool button shows over the display: pencil, fill, colour select.
int PointerOfTool(int toolIndex) { return toolIndex == 1 ? 0 : toolIndex == 2 ? 2 : 1; }
}  // namespace

DrawingTools::DrawingTools(EditorCanvas& canvas, SelectionBox& selection, ColourBoxes& colours, Dialogs& dialogs)
    : canvas_(canvas), selection_(selection), colours_(colours), dialogs_(dialogs) {
    for (int i = 0; i < 4; ++i) 鼠标[static_cast<std::size_t>(i)] = ToolPointer(i);
}

void DrawingTools::Place(ControlHost& host, Frame& page) {
    const char* const toolTips[4] = {"剪图", "铅笔", "填充", "色选"};
    for (int i = 0; i < 4; ++i) {
        OptionButton& button = 控制[static_cast<std::size_t>(i)];
        button.Place(host, &page, "控制", i, {8, 16 + i * 24, 25, 25});
        button.SetGraphical(true);
        button.SetPicture(ToolButtonPicture(i));
        button.SetToolTip(toolTips[i]);
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
    const bool wasSelectingColours = canvas_.ToolMode == "色选";
    switch (index) {
        case 0:
            if (wasSelectingColours) canvas_.RedrawDisplay(canvas_.结果图像, true);
            canvas_.ToolMode = "剪图";
            break;
        case 3:
            canvas_.PickedColorCount = 0;
            // A half-bright copy of the working image, which the picks are marked on.
            canvas_.成品图像 = canvas_.结果图像;
            DimPicture(canvas_.成品图像, canvas_.成品图像);
            canvas_.RedrawDisplay(canvas_.成品图像, false);
            canvas_.ToolMode = "色选";
            break;
        case 1:
        case 2:
            if (index == 2) canvas_.PickedColorCount = 0;
            if (wasSelectingColours) canvas_.RedrawDisplay(canvas_.结果图像, true);
            canvas_.ToolMode = index == 1 ? "铅笔" : "填充";
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
    if (canvas_.Zoomed()) {
        const Cell cell = CellOrigin(x, y);
        return {cell.x / kZoom, cell.y / kZoom};
    }
    return {RoundClamped32(x), RoundClamped32(y)};
}

void DrawingTools::Pencil(float x, float y) {
    const std::int32_t colour = colours_.Foreground();
    PictureBox& display = canvas_.显示图像;
    if (!canvas_.Zoomed()) {
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
    canvas_.PickedColors = {canvas_.结果图像.Pixel(pixel.x, pixel.y)};
    RecolorPixels(canvas_.结果图像, canvas_.结果图像, colours_.Foreground(), 0, canvas_.PickedColors, dialogs_);
    canvas_.RedrawDisplay(canvas_.结果图像, true);
}

void DrawingTools::PickColour(float x, float y) {
    const Cell pixel = ImagePixel(x, y);
    canvas_.PickedColors.resize(static_cast<std::size_t>(canvas_.PickedColorCount) + 1);
    canvas_.PickedColors[static_cast<std::size_t>(canvas_.PickedColorCount)] =
        canvas_.结果图像.Pixel(pixel.x, pixel.y);
    PictureBox& display = canvas_.显示图像;
    if (canvas_.Zoomed()) {
        // A red and, inside it, a green square outline; the cell's centre keeps its colour.
        const Cell cell = CellOrigin(x, y);
        Surface& shown = display.EditImageArea({cell.x, cell.y, kZoom, kZoom});
        shown.Rectangle(cell.x + 1, cell.y + 1, cell.x + 8, cell.y + 8, kPickRed, std::nullopt);
        shown.Rectangle(cell.x + 2, cell.y + 2, cell.x + 7, cell.y + 7, kPickGreen, std::nullopt);
    } else {
        display.EditImageArea({pixel.x, pixel.y, 1, 1}).SetPixel(pixel.x, pixel.y, kPickRed);
    }
    canvas_.成品图像.SetPixel(pixel.x, pixel.y, kPickRed);
    ++canvas_.PickedColorCount;
    确认.SetVisible(true);
}

void DrawingTools::StartCut(float x, float y) {
    canvas_.CutDragActive = -1;
    if (canvas_.SelectionMode != "draw") {
        canvas_.SelectAnchorX = selection_.Left();
        canvas_.SelectAnchorY = selection_.Top();
        if (HitsSelection(x, y)) {
            canvas_.显示图像.SetMousePointer(MousePointer::SizeAll);
            canvas_.MoveAnchorX = x;
            canvas_.MoveAnchorY = y;
        } else {
            UseToolPointer(3);
            canvas_.SelectAnchorX = x;
            canvas_.SelectAnchorY = y;
            canvas_.SelectionMode = "draw";
        }
    }
    if (canvas_.SelectionMode == "draw") {
        selection_.选框.SetVisible(true);
        selection_.Move(x, y, 0, 0);
        canvas_.SelectAnchorX = x;
        canvas_.SelectAnchorY = y;
        selection_.SetHandlesVisible(true);
    }
}

void DrawingTools::DragCut(float& x, float& y) {
    const Rect display = canvas_.显示图像.Geometry();
    if (canvas_.SelectionMode == "draw") {
        x = std::clamp(x, 0.0F, static_cast<float>(display.width));
        y = std::clamp(y, 0.0F, static_cast<float>(display.height));
        const float ax = canvas_.SelectAnchorX, ay = canvas_.SelectAnchorY;
        if (x != ax && y != ay)
            selection_.Move(std::min(x, ax), std::min(y, ay), x > ax ? x - ax : ax - x, y > ay ? y - ay : ay - y);
        selection_.ShowSize(canvas_.Zoomed());
    } else if (canvas_.HandleDragState != "Start") {
        float left = canvas_.SelectAnchorX - (canvas_.MoveAnchorX - x);
        float top = canvas_.SelectAnchorY - (canvas_.MoveAnchorY - y);
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
    if (canvas_.SelectionMode == "draw") {
        canvas_.SelectionMode = "move";
        canvas_.HandleDragState = "Stop";
    }
    if (canvas_.Zoomed()) {
        selection_.Snap();
        selection_.ImageMove();
    }
    canvas_.CutDragActive = 0;
    selection_.ShowSize(canvas_.Zoomed());
    selection_.PlaceSizeLabel();
}

bool DrawingTools::HitsSelection(float x, float y) {
    canvas_.SelectionRect = selection_.Bounds();
    return InsideBounds(canvas_.SelectionRect, RoundClamped32(x), RoundClamped32(y));
}

void DrawingTools::TrackCutPointer(float x, float y) {
    if (HitsSelection(x, y))
        canvas_.显示图像.SetMousePointer(MousePointer::SizeAll);
    else
        UseToolPointer(3);
    canvas_.LastMouseX = x;
    canvas_.LastMouseY = y;
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
    const std::string& tool = canvas_.ToolMode;
    if (tool == "铅笔") Pencil(x, y);
    else if (tool == "填充") Fill(x, y);
    else if (tool == "色选") PickColour(x, y);
    else if (tool == "剪图") StartCut(x, y);
}

void DrawingTools::显示图像_MouseMove(int button, float x, float y) {
    // At 1:1 the status shows the pixel under the pointer, before the drag clamps it.
    const float unclampedX = x, unclampedY = y;
    if (canvas_.ToolMode == "剪图" && (button & kMiddleButton) == 0) TrackCutPointer(x, y);
    if (button == kLeftButton) {
        if (canvas_.ToolMode == "铅笔") Pencil(x, y);
        if (canvas_.CutDragActive == -1) DragCut(x, y);
    }
    if (canvas_.Zoomed()) ShowStatus(x, y);
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
    const std::string& tool = canvas_.ToolMode;
    if (tool == "铅笔" || tool == "填充") canvas_.PushHistory();
    else if (tool == "剪图") EndCut();
}

void DrawingTools::显示图像_DblClick() {
    if (canvas_.ToolMode != "剪图") return;
    if (!HitsSelection(canvas_.LastMouseX, canvas_.LastMouseY)) return;
    // The box in image pixels: the cropped block, moved to the top-left and kept alone.
    const int scale = canvas_.Zoomed() ? kZoom : 1;
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
    canvas_.HandleDragState = "Start";
}

void DrawingTools::确认_Click() {
    RecolorPixels(canvas_.结果图像, canvas_.结果图像, colours_.Background(), -1, canvas_.PickedColors, dialogs_);
    canvas_.RedrawDisplay(canvas_.结果图像, true);
    canvas_.PushHistory();
    canvas_.显示图像.SetMousePointer(MousePointer::Default);
    确认.SetVisible(false);
    控制[0].Select();
    canvas_.ToolMode = "剪图";
}

}  // namespace pelmora
