// SPDX-License-Identifier: MIT
// The cut selection over the display: the outline 选框, its eight handles 调节点 and the
// size label LblPos; laying the handles around the box (ImageMove), the size caption, and
// snapping the box to whole cells at 8:1.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/controls.h"

namespace pelmora {

inline constexpr int kHandleCount = 8;  // the handles 调节点(0..7)

// The selection's size as its label shows it: at 8:1 whole source pixels ("8x5" for a
// 64 x 40 box), at 1:1 the width and height in their shortest decimal form ("40x25").
std::string SelectionSizeCaption(float width, float height, bool zoomed);

class SelectionBox {
public:
    // Puts the box, then the handles and the label above it, on the display.
    void Place(ControlHost& host, PictureBox& display);
    // No selection: the box 50 x 50 off the picture at (-100, -100), the handles and the
    // label hidden (the handles off the picture too).
    void Reset();
    // Lays the eight handles around the box, centred on its corners and edge middles, and
    // shows them.
    void ImageMove();

    // The box's left, top, width and height in display pixels.
    float Left() const { return static_cast<float>(选框.Geometry().left); }
    float Top() const { return static_cast<float>(选框.Geometry().top); }
    float Width() const { return static_cast<float>(选框.Geometry().width); }
    float Height() const { return static_cast<float>(选框.Geometry().height); }
    // Moves and sizes the box, each value rounded to whole pixels (halves to even).
    void Move(float left, float top, float width, float height);
    // The box's bounds rounded: left, top, right, bottom, for hit tests.
    std::array<std::int32_t, 4> Bounds() const;
    // Snaps left, then top, width and height to the cells, each written at once.
    void Snap();
    // The size caption for the box, and the label at the box's top-left corner (2, 2) in.
    void ShowSize(bool zoomed);
    void PlaceSizeLabel();
    // Shows or hides all eight handles.
    void SetHandlesVisible(bool visible);

    Shape 选框;                                   // the selection box: an outline on the display
    std::array<PictureBox, kHandleCount> 调节点;  // the handles: corners, then edge middles
    Label LblPos;                                 // the selection's size, inside its top-left corner
};

// PtInRect: left <= x < right and top <= y < bottom.
bool InsideBounds(const std::array<std::int32_t, 4>& bounds, std::int32_t x, std::int32_t y);

}  // namespace pelmora
