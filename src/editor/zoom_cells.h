// SPDX-License-Identifier: MIT
// The 8:1 view's cells: at 8:1 one image pixel is an 8 x 8 block of display pixels whose
// top-left corner is at (8·x, 8·y). Display points map to cells by rounding halves to
// even, with a remainder that keeps the sign of the dividend (so up to 7 pixels left of
// or above the display still fall in cell 0).
#pragma once

#include <cstdint>

namespace pelmora {

inline constexpr int kZoom = 8;  // display pixels per image pixel at 8:1

// A display coordinate less its remainder in the cell: v - (round(v) mod 8).
double CellStart(double value);

// The origin of the cell under display point (x, y): round(CellStart(v)) for each
// coordinate.
struct Cell {
    std::int32_t x = 0;  // display pixels (a cell origin) or image pixels
    std::int32_t y = 0;
};
Cell CellOrigin(float x, float y);

// A box coordinate snapped to the cells: remainders 1 to 4 round down, 5 to 7 up;
// multiples of 8 and negative values stay as they are.
float SnapToCell(float value);

}  // namespace pelmora
