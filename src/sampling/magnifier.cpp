// SPDX-License-Identifier: MIT
#include "sampling/magnifier.h"

#include <algorithm>
#include <cstddef>

#include "sampling/colour_model.h"

namespace pelmora {

namespace {
// Grid positions in the order of the Line1 array: the array's order is not the geometric
// one (Line1(1) lies at 24, Line1(2) at 16); only the set of positions shows.
constexpr int kLinePositions[10] = {8, 24, 16, 32, 40, 48, 56, 64, 72, 80};

struct Marker {
    int left, top;
    std::int32_t colour;
};
// pd(0) left of the centre cell, pd(1) above, pd(2) right, pd(3) below.
constexpr Marker kMarkers[4] = {
    {32, 40, kColourBlue}, {40, 32, kColourRed}, {48, 40, kColourBlue}, {40, 48, kColourRed}};
}  // namespace

void Magnifier::Place(ControlHost& host, Frame& frame) {
    Picture1.Place(host, &frame, "Picture1", -1, {8, 16, kMagnifierViewSize + 2, kMagnifierViewSize + 2});
    Picture1.EditImage().Resize(kMagnifierViewSize, kMagnifierViewSize, kColourBlack);
    Picture1.SetBackColor(kColourBlack);
    for (int i = 0; i < 10; ++i) {
        Line& horizontal = Line1[i];
        horizontal.Place(host, &Picture1, "Line1", i, {});
        horizontal.SetEnds(0, kLinePositions[i], kMagnifierViewSize, kLinePositions[i]);
        horizontal.SetBorderColor(kMagnifierGridColour);
        Line& vertical = Line1[10 + i];
        vertical.Place(host, &Picture1, "Line1", 10 + i, {});
        vertical.SetEnds(kLinePositions[i], 0, kLinePositions[i], kMagnifierViewSize);
        vertical.SetBorderColor(kMagnifierGridColour);
    }
    for (int i = 0; i < 4; ++i) {
        pd[i].Place(host, &Picture1, "pd", i, {kMarkers[i].left, kMarkers[i].top, 9, 9});
        pd[i].SetBorder(true);
        pd[i].SetBackColor(kMarkers[i].colour);
    }
}

void Magnifier::DrawMagnifier(std::int32_t x, std::int32_t y) {
    // Near the edge of the rectangle that holds every monitor, cells may lie where no pixel
    // is: those show black.
    const ScreenRegion screen = desktop_.AllMonitors();
    if (y < screen.top + 5 || x < screen.left + 5 || x > screen.left + screen.width - 5 ||
        y > screen.top + screen.height - 5)
        Picture1.SetBackColor(kColourBlack);

    // Only the 11 x 11 pixels that the view shows are read; cells whose pixel lies off
    // the screen keep what the view showed there.
    Surface block(kMagnifierCells, kMagnifierCells, kColourNoPixel);
    desktop_.ReadArea(x - 5, y - 5, block);
    Surface& view = Picture1.EditImage();
    for (int row = 0; row < kMagnifierCells; ++row) {
        for (int column = 0; column < kMagnifierCells; ++column) {
            const std::int32_t colour = block.Pixel(column, row);
            if (colour < 0) continue;
            for (int dy = 0; dy < kMagnifierCellSize; ++dy) {
                std::int32_t* line =
                    view.Row(row * kMagnifierCellSize + dy) + std::ptrdiff_t{column} * kMagnifierCellSize;
                std::fill_n(line, kMagnifierCellSize, colour);
            }
        }
    }
    Picture1.Refresh();
}

}  // namespace pelmora
