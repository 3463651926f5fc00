// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <set>

#include "form_fixture.h"

using namespace pelmora;

namespace {

struct MagnifierTest : FormOnFakeDesktop, ::testing::Test {
    Magnifier& magnifier = form.magnifier;

    MagnifierTest() {
        // Every screen pixel gets its own colour, so a cell tells which pixel it shows.
        Surface& screen = fake.desktop.screen;
        for (int y = 0; y < screen.Height(); ++y)
            for (int x = 0; x < screen.Width(); ++x) screen.SetPixel(x, y, PixelColour(x, y));
    }
    static std::int32_t PixelColour(int x, int y) { return (y << 12 | x) + 1; }
    // The colour of every view pixel of cell (column, row); -2 if they differ.
    std::int32_t Cell(int column, int row) const {
        const Surface& view = magnifier.Picture1.Image();
        const std::int32_t first = view.Pixel(column * 8, row * 8);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                if (view.Pixel(column * 8 + x, row * 8 + y) != first) return -2;
        return first;
    }
};

}  // namespace

TEST_F(MagnifierTest, CentreCellShowsThePointerPixelAndTheCornerCellItsNeighbour) {
    magnifier.DrawMagnifier(100, 200);
    EXPECT_EQ(Cell(5, 5), PixelColour(100, 200));
    EXPECT_EQ(Cell(0, 0), PixelColour(95, 195));
    EXPECT_EQ(Cell(10, 10), PixelColour(105, 205));
    EXPECT_EQ(Cell(10, 0), PixelColour(105, 195));
    EXPECT_EQ(magnifier.Picture1.Image().Width(), 88);
    EXPECT_EQ(fake.desktop.areaReads, 1);  // one read of the block per redraw
}

TEST_F(MagnifierTest, NearTheEdgeTheViewIsClearedAndOffScreenCellsStayBlack) {
    magnifier.DrawMagnifier(100, 200);
    magnifier.DrawMagnifier(0, 0);
    EXPECT_EQ(Cell(5, 5), PixelColour(0, 0));
    EXPECT_EQ(Cell(0, 0), kColourBlack);
    EXPECT_EQ(Cell(4, 5), kColourBlack);
    EXPECT_EQ(Cell(5, 4), kColourBlack);
    EXPECT_EQ(Cell(6, 6), PixelColour(1, 1));
}

TEST_F(MagnifierTest, EdgeRuleIsStrictlyGreaterThanWidthMinusFive) {
    const int w = fake.desktop.screen.Width(), h = fake.desktop.screen.Height();
    magnifier.DrawMagnifier(100, 200);  // leaves colours that are not black everywhere
    magnifier.DrawMagnifier(w - 5, h - 5);
    // Not near the edge: no clear, so the off-screen last column keeps the old image.
    EXPECT_EQ(Cell(10, 5), PixelColour(105, 200));
    EXPECT_EQ(Cell(9, 9), PixelColour(w - 1, h - 1));

    magnifier.DrawMagnifier(100, 200);
    magnifier.DrawMagnifier(w - 4, h - 4);
    EXPECT_EQ(Cell(9, 9), kColourBlack);  // pixel (w, h) is off the screen
    EXPECT_EQ(Cell(8, 8), PixelColour(w - 1, h - 1));
}

TEST_F(MagnifierTest, GridLinesAndMarkersAsLaidOut) {
    std::set<int> horizontal, vertical;
    for (int i = 0; i < 20; ++i) {
        const Line& line = magnifier.Line1[i];
        EXPECT_EQ(line.BorderColor(), 4210752);
        const Rect& r = line.Geometry();
        if (i < 10) {
            EXPECT_EQ((Rect{0, r.top, 88, 1}), r) << i;
            horizontal.insert(r.top);
        } else {
            EXPECT_EQ((Rect{r.left, 0, 1, 88}), r) << i;
            vertical.insert(r.left);
        }
    }
    const std::set<int> expected{8, 16, 24, 32, 40, 48, 56, 64, 72, 80};
    EXPECT_EQ(horizontal, expected);
    EXPECT_EQ(vertical, expected);
    EXPECT_EQ(magnifier.Line1[1].Geometry().top, 24);
    EXPECT_EQ(magnifier.Line1[2].Geometry().top, 16);

    EXPECT_EQ(magnifier.pd[1].Geometry(), (Rect{40, 32, 9, 9}));
    EXPECT_EQ(magnifier.pd[3].Geometry(), (Rect{40, 48, 9, 9}));
    EXPECT_EQ(magnifier.pd[0].Geometry(), (Rect{32, 40, 9, 9}));
    EXPECT_EQ(magnifier.pd[2].Geometry(), (Rect{48, 40, 9, 9}));
    EXPECT_EQ(magnifier.pd[1].BackColor(), kColourRed);
    EXPECT_EQ(magnifier.pd[3].BackColor(), kColourRed);
    EXPECT_EQ(magnifier.pd[0].BackColor(), kColourBlue);
    EXPECT_EQ(magnifier.pd[2].BackColor(), kColourBlue);
}

TEST_F(MagnifierTest, PollDrawsAroundTheRawPointerEvenWithAnOffset) {
    form.adjustment.Check2.SetValue(1);  // offset -2
    fake.desktop.pointer = {100, 200};
    form.sampling.Check1.SetValue(1);
    form.sampling.Timer1.Fire();
    EXPECT_EQ(Cell(5, 5), PixelColour(100, 200));
    EXPECT_EQ(form.readoutPanel.x.Text(), "98");
}
