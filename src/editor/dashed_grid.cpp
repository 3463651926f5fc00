#include "editor/dashed_grid.h"

namespace pelmora {

Pattern8x8 CreateCheckerBrush(std::int32_t colour1, std::int32_t colour2) {
    Pattern8x8 pattern{};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) pattern[static_cast<std::size_t>(y * 8 + x)] = (x + y) % 2 == 0 ? colour1 : colour2;
    return pattern;
}

void DrawDashedGrid(Surface& target, int sourceWidth, int sourceHeight) {
    const Pattern8x8 brush = CreateCheckerBrush(kGridGrey, kGridSilver);
    const int width = sourceWidth * 8;
    const int height = sourceHeight * 8;
    for (int x = 0; x <= width; x += 8) target.PatBlt(x, 0, 1, height, brush);
    for (int y = 0; y <= height; y += 8) target.PatBlt(0, y, width, 1, brush);
}

}  // namespace pelmora
