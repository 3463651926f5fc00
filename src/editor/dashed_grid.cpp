// SPDX-License-Identifier: MIT
#include "editor/dashed_grid.h"

#include <algorithm>

namespace pelmora {

Pattern8x8 CreateCheckerBrush(std::int32_t colour1, std::int32_t colour2) {
    Pattern8x8 pattern{};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) pattern[static_cast<std::size_t>(y) * 8 + x] = (x + y) % 2 == 0 ? colour1 : colour2;
    return pattern;
}

void DrawDashedGrid(Surface& target, int sourceWidth, int sourceHeight) {
    const Pattern8x8 brush = CreateCheckerBrush(kGridGrey, kGridSilver);
    const int width = sourceWidth * 8;
    const int height = sourceHeight * 8;
    // The columns (x = 0, 8, … up to width, each height long) row by row rather than column
    // by column: the same pixels, written in memory order. A column pixel's colour depends
    // on its row alone, since x is a multiple of 8.
    const int lastColumn = std::min(width, target.Width() - 1);
    for (int y = 0; y < std::min(height, target.Height()); ++y) {
        std::int32_t* row = target.Row(y);
        const std::int32_t colour = brush[static_cast<std::size_t>(y % 8 * 8)];
        for (int x = 0; x <= lastColumn; x += 8) row[x] = colour;
    }
    for (int y = 0; y <= height; y += 8) target.PatBlt(0, y, width, 1, brush);
}

}  // namespace pelmora
