// SPDX-License-Identifier: MIT
#include "editor/selection_box.h"

#include "base/number_text.h"
#include "base/rounding.h"
#include "editor/zoom_cells.h"

namespace pelmora {

namespace {
constexpr int kHandleSize = 5;
constexpr std::int32_t kBoxColour = 16711680;        // blue: stands out on screen pictures
constexpr std::int32_t kHandleColour = 16777215;     // white with a blue rim
constexpr std::int32_t kSizeLabelColour = 14811135;  // pale yellow, like a tooltip
constexpr int kParked = -100;

// Whole source pixels of a zoomed length: CellStart(v) / 8, rounded.
std::int32_t SourcePixels(float value) { return RoundClamped32(CellStart(value) / kZoom); }
}  // namespace

std::string SelectionSizeCaption(float width, float height, bool zoomed) {
    if (zoomed) return std::to_string(SourcePixels(width)) + "x" + std::to_string(SourcePixels(height));
    return FormatPlainNumber(width) + "x" + FormatPlainNumber(height);
}

bool InsideBounds(const std::array<std::int32_t, 4>& bounds, std::int32_t x, std::int32_t y) {
    return bounds[0] <= x && x < bounds[2] && bounds[1] <= y && y < bounds[3];
}

void SelectionBox::Place(ControlHost& host, PictureBox& display) {
    选框.Place(host, &display, "选框", -1, {kParked, kParked, 50, 50});
    选框.SetFilled(false);
    选框.SetBorderColor(kBoxColour);
    for (int i = 0; i < kHandleCount; ++i) {
        PictureBox& handle = 调节点[static_cast<std::size_t>(i)];
        handle.Place(host, &display, "调节点", i, {kParked, kParked, kHandleSize, kHandleSize});
        handle.SetBorder(false);
        handle.EditImage() = Surface(kHandleSize, kHandleSize, kHandleColour);
        handle.EditImage().Rectangle(0, 0, kHandleSize, kHandleSize, kBoxColour, std::nullopt);
        handle.SetVisible(false);
    }
    LblPos.Place(host, &display, "LblPos", -1, {0, 0, 1, 13});
    LblPos.SetAutoSize(true);
    LblPos.SetBackColor(kSizeLabelColour);
    LblPos.SetVisible(false);
}

void SelectionBox::Reset() {
    Move(kParked, kParked, 50, 50);
    for (PictureBox& handle : 调节点) {
        handle.SetVisible(false);
        Rect area = handle.Geometry();
        area.left = kParked;
        handle.SetGeometry(area);
    }
    LblPos.SetVisible(false);
}

void SelectionBox::Move(float left, float top, float width, float height) {
    选框.SetGeometry({RoundClamped32(left), RoundClamped32(top), RoundClamped32(width), RoundClamped32(height)});
}

std::array<std::int32_t, 4> SelectionBox::Bounds() const {
    return {RoundClamped32(Left()), RoundClamped32(Top()), RoundClamped32(Left() + Width()),
            RoundClamped32(Top() + Height())};
}

void SelectionBox::ImageMove() {
    // Handle i sits on point (fx, fy) of the box in halves of its width and height.
    static constexpr int kPoints[kHandleCount][2] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {0, 2}, {1, 2}, {2, 2}, {2, 1}};
    for (int i = 0; i < kHandleCount; ++i) {
        PictureBox& handle = 调节点[static_cast<std::size_t>(i)];
        Rect area = handle.Geometry();
        area.left = RoundClamped32(Left() + static_cast<float>(kPoints[i][0]) * Width() / 2 - area.width / 2.0);
        area.top = RoundClamped32(Top() + static_cast<float>(kPoints[i][1]) * Height() / 2 - area.height / 2.0);
        handle.SetGeometry(area);
    }
    SetHandlesVisible(true);
}

void SelectionBox::SetHandlesVisible(bool visible) {
    for (PictureBox& handle : 调节点) handle.SetVisible(visible);
}

void SelectionBox::Snap() {
    Move(SnapToCell(Left()), Top(), Width(), Height());
    Move(Left(), SnapToCell(Top()), Width(), Height());
    Move(Left(), Top(), SnapToCell(Width()), Height());
    Move(Left(), Top(), Width(), SnapToCell(Height()));
}

void SelectionBox::ShowSize(bool zoomed) { LblPos.SetCaption(SelectionSizeCaption(Width(), Height(), zoomed)); }

void SelectionBox::PlaceSizeLabel() {
    Rect area = LblPos.Geometry();
    area.left = RoundClamped32(Left() + 2);
    area.top = RoundClamped32(Top() + 2);
    LblPos.SetGeometry(area);
}

}  // namespace pelmora
