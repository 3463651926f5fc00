// SPDX-License-Identifier: MIT
// Mod_虚线网格: the dotted grid over the 8:1 view, one line on the left and top edge of
// every 8 x 8 cell, in alternating grey and silver pixels.
#pragma once

#include <cstdint>

#include "platform/surface.h"

namespace pelmora {

inline constexpr std::int32_t kGridGrey = 8421504;     // (128, 128, 128)
inline constexpr std::int32_t kGridSilver = 12632256;  // (192, 192, 192)

// An 8 x 8 pattern whose pixel (x, y) is colour1 when x + y is even and colour2 when odd.
Pattern8x8 CreateCheckerBrush(std::int32_t colour1, std::int32_t colour2);

// Draws the grid for a sourceWidth x sourceHeight image shown at 8:1 over target: columns
// at x = 0, 8, … up to and including 8 * sourceWidth, rows likewise. The pattern is
// anchored at target's origin, so grid pixel (x, y) is grey when x + y is even.
void DrawDashedGrid(Surface& target, int sourceWidth, int sourceHeight);

}  // namespace pelmora
