// SPDX-License-Identifier: MIT
// The magnifier in Frame1(4): the 11 x 11 screen pixels around the pointer, each drawn
// as an 8 x 8 cell of Picture1, under a dark grid (Line1) and four markers (pd) that
// point at the centre cell, which shows the pointer's pixel.
#pragma once

#include <array>

#include "platform/controls.h"
#include "platform/desktop.h"

namespace pelmora {

inline constexpr int kMagnifierCells = 11;
inline constexpr int kMagnifierCellSize = 8;
inline constexpr int kMagnifierViewSize = kMagnifierCells * kMagnifierCellSize;  // 88
inline constexpr std::int32_t kMagnifierGridColour = 4210752;                    // 404040

class Magnifier {
public:
    explicit Magnifier(Desktop& desktop) : desktop_(desktop) {}

    // Picture1 inside frame at (8, 16), 90 x 90 with its border, and its decoration.
    void Place(ControlHost& host, Frame& frame);

    // Redraws the view around the raw pointer position (x, y). Near the screen's edge
    // the view is cleared to black first, so cells off the screen show black.
    void DrawMagnifier(std::int32_t x, std::int32_t y);

    PictureBox Picture1;         // the view: 11 x 11 cells of 8 x 8 pixels
    std::array<Line, 20> Line1;  // the grid: 0 to 9 horizontal, 10 to 19 vertical lines
    std::array<Label, 4> pd;     // the markers left of, above, right of and below the centre cell

private:
    Desktop& desktop_;
};

}  // namespace pelmora
