// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "platform/surface.h"

using namespace pelmora;

namespace {

// A surface whose pixel (x, y) is y * 100 + x.
Surface Numbered(int width, int height) {
    Surface surface(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) surface.SetPixel(x, y, y * 100 + x);
    return surface;
}

}  // namespace

TEST(SurfaceBitBlt, CopiesTheBlockClippedToBothSurfaces) {
    const Surface source = Numbered(10, 10);
    Surface target(6, 6, -5);
    target.BitBlt(-1, 2, 4, 8, source, 3, 1);  // one column off the left, rows off the bottom
    EXPECT_EQ(target.Pixel(0, 2), 104);
    EXPECT_EQ(target.Pixel(2, 5), 406);
    EXPECT_EQ(target.Pixel(3, 2), -5);
    EXPECT_EQ(target.Pixel(0, 1), -5);

    target.BitBlt(0, 0, 6, 6, source, 8, 8);  // the source runs out after two pixels
    EXPECT_EQ(target.Pixel(1, 1), 909);
    EXPECT_EQ(target.Pixel(2, 0), -5);
}

TEST(SurfaceBitBlt, OverlappingCopyInsideOneSurfaceReadsTheOldPixels) {
    Surface surface = Numbered(20, 20);
    surface.BitBlt(0, 0, 8, 6, surface, 3, 4);  // up and left, as a crop does
    EXPECT_EQ(surface.Pixel(0, 0), 403);
    EXPECT_EQ(surface.Pixel(7, 5), 910);
    Surface down = Numbered(20, 20);
    down.BitBlt(2, 3, 8, 6, down, 0, 0);  // down and right
    EXPECT_EQ(down.Pixel(2, 3), 0);
    EXPECT_EQ(down.Pixel(9, 8), 507);
}

TEST(SurfacePatBlt, PatternIsAnchoredAtTheSurfaceOrigin) {
    Pattern8x8 pattern{};
    for (int i = 0; i < 64; ++i) pattern[static_cast<std::size_t>(i)] = i;
    Surface surface(20, 20, -1);
    surface.PatBlt(5, 9, 12, 1, pattern);
    EXPECT_EQ(surface.Pixel(5, 9), 1 * 8 + 5);
    EXPECT_EQ(surface.Pixel(16, 9), 1 * 8 + 0);
    EXPECT_EQ(surface.Pixel(17, 9), -1);
    EXPECT_EQ(surface.Pixel(5, 10), -1);
}

TEST(SurfaceRectangle, OutlineExcludesRightAndBottomAndFillIsOptional) {
    Surface surface(12, 12, 0);
    surface.Rectangle(2, 3, 9, 10, 7, 5);  // 7 x 7 from (2, 3)
    EXPECT_EQ(surface.Pixel(2, 3), 7);
    EXPECT_EQ(surface.Pixel(8, 9), 7);
    EXPECT_EQ(surface.Pixel(5, 6), 5);
    EXPECT_EQ(surface.Pixel(9, 6), 0);
    EXPECT_EQ(surface.Pixel(5, 10), 0);

    Surface outline(12, 12, 0);
    outline.Rectangle(2, 2, 7, 7, 3, std::nullopt);
    EXPECT_EQ(outline.Pixel(4, 2), 3);
    EXPECT_EQ(outline.Pixel(4, 4), 0);
    outline.Rectangle(-3, -3, 2, 2, 4, 4);  // partly off the surface
    EXPECT_EQ(outline.Pixel(0, 0), 4);
    EXPECT_EQ(outline.Pixel(1, 1), 4);
}
