// SPDX-License-Identifier: MIT
#include "editor/selection_handles.h"

#include "base/rounding.h"

namespace pelmora {

namespace {
// A new size from a drag; below 1 it becomes 3, so the box never vanishes or turns round.
float DraggedSize(float size, std::int32_t by) {
    const std::int32_t dragged = RoundClamped32(static_cast<double>(size) + by);
    return static_cast<float>(dragged < 1 ? 3 : dragged);
}
}  // namespace

MousePointer HandlePointer(int index) {
    switch (index) {
        case 0:
        case 6: return MousePointer::SizeNWSE;
        case 1:
        case 5: return MousePointer::SizeNS;
        case 2:
        case 4: return MousePointer::SizeNESW;
        case 3:
        case 7: return MousePointer::SizeWE;
        default: return MousePointer::Default;
    }
}

void SelectionHandles::Wire() {
    for (int i = 0; i < kHandleCount; ++i) {
        PictureBox& handle = selection_.调节点[static_cast<std::size_t>(i)];
        handle.onMouseDown = [this, i](const MouseEvent& e) { 调节点_MouseDown(i, e.button); };
        handle.onMouseMove = [this, i](const MouseEvent&) { 调节点_MouseMove(i); };
        handle.onMouseUp = [this, i](const MouseEvent&) { 调节点_MouseUp(i); };
    }
}

void SelectionHandles::调节点_MouseDown(int, int button) {
    if (canvas_.state.SelectionModeNow() != SelectionMode::move || button != kLeftButton) return;
    canvas_.state.BeginHandleDrag();
    HandleDragAnchor.left = selection_.Left();
    HandleDragAnchor.top = selection_.Top();
    HandleDragAnchor.right = selection_.Width() + selection_.Left();
    HandleDragAnchor.bottom = selection_.Height() + selection_.Top();
    HandleDragAnchor.current = HandleDragAnchor.start = desktop_.PointerPos();
}

void SelectionHandles::调节点_MouseMove(int index) {
    if (index >= 0 && index < kHandleCount)
        selection_.调节点[static_cast<std::size_t>(index)].SetMousePointer(HandlePointer(index));
    if (canvas_.state.HandleDragStateNow() != HandleDragState::Start) return;
    HandleDragRecord& anchor = HandleDragAnchor;
    anchor.current = desktop_.PointerPos();
    const float width = anchor.right - anchor.left, height = anchor.bottom - anchor.top;
    const float newWidth = DraggedSize(width, anchor.current.x - anchor.start.x);
    const float newHeight = DraggedSize(height, anchor.current.y - anchor.start.y);
    switch (index) {
        case 5: selection_.Move(anchor.left, anchor.top, width, newHeight); break;
        case 6: selection_.Move(anchor.left, anchor.top, newWidth, newHeight); break;
        case 7: selection_.Move(anchor.left, anchor.top, newWidth, height); break;
        default: break;  // the other handles only show their pointer
    }
    selection_.ImageMove();
    selection_.ShowSize(canvas_.ZoomedEightTimes());
}

void SelectionHandles::调节点_MouseUp(int) {
    canvas_.state.EndHandleDrag();
    const Rect display = canvas_.显示图像.Geometry();
    const float left = selection_.Left(), top = selection_.Top();
    std::int32_t width = RoundClamped32(selection_.Width()), height = RoundClamped32(selection_.Height());
    if (selection_.Width() + left > static_cast<float>(display.width))
        width = RoundClamped32(static_cast<float>(display.width) - left);
    if (selection_.Height() + top > static_cast<float>(display.height))
        height = RoundClamped32(static_cast<float>(display.height) - top);
    selection_.Move(left, top, static_cast<float>(width), static_cast<float>(height));
    if (canvas_.ZoomedEightTimes()) selection_.Snap();
    selection_.ImageMove();
}

}  // namespace pelmora
