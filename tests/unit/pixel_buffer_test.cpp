// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "editor/dashed_grid.h"
#include "editor/pixel_buffer.h"
#include "backends/fake/fake_services.h"

using namespace pelmora;

namespace {

constexpr std::int32_t kRed = 255, kWhite = 16777215;

bool AllPixels(const Surface& surface, std::int32_t colour) {
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x)
            if (surface.Pixel(x, y) != colour) return false;
    return true;
}

}  // namespace

TEST(DimPicture, HalvesEveryChannelWithHalvesToEven) {
    Surface white(5, 3, kWhite);
    DimPicture(white, white);
    EXPECT_TRUE(AllPixels(white, 8421504));
    Surface dark(1, 1, 65793);  // (1, 1, 1)
    DimPicture(dark, dark);
    EXPECT_EQ(dark.Pixel(0, 0), 0);
    Surface mixed(2, 1);
    mixed.SetPixel(0, 0, 3 | 5 << 8 | 254 << 16);
    mixed.SetPixel(1, 0, 7 | 9 << 8 | 11 << 16);
    DimPicture(mixed, mixed);
    EXPECT_EQ(mixed.Pixel(0, 0), 2 | 2 << 8 | 127 << 16);
    EXPECT_EQ(mixed.Pixel(1, 0), 4 | 4 << 8 | 6 << 16);
}

TEST(RecolorPixels, MatchFlagChoosesThePickedColoursOrAllOthers) {
    FakeDialogs dialogs;
    Surface picture(4, 1);
    for (const auto& [x, colour] : {std::pair{0, kRed}, {1, 254}, {2, kRed}, {3, 65280}})
        picture.SetPixel(x, 0, colour);
    std::vector<std::int32_t> picked{kRed};
    Surface filled = picture;
    EXPECT_TRUE(RecolorPixels(filled, filled, 0, 0, picked, dialogs));
    EXPECT_EQ(filled.Pixel(0, 0), 0);
    EXPECT_EQ(filled.Pixel(1, 0), 254);  // whole colour values are compared
    EXPECT_EQ(filled.Pixel(2, 0), 0);
    EXPECT_TRUE(picked.empty());

    picked = {kRed, kRed};
    Surface kept = picture;
    EXPECT_TRUE(RecolorPixels(kept, kept, kWhite, -1, picked, dialogs));
    EXPECT_EQ(kept.Pixel(0, 0), kRed);
    EXPECT_EQ(kept.Pixel(1, 0), kWhite);
    EXPECT_EQ(kept.Pixel(3, 0), kWhite);

    picked = {kRed};
    Surface untouched = picture;
    EXPECT_TRUE(RecolorPixels(untouched, untouched, kWhite, 1, picked, dialogs));  // no such flag
    EXPECT_EQ(untouched.Pixel(0, 0), kRed);
    EXPECT_EQ(untouched.Pixel(1, 0), 254);
    EXPECT_TRUE(picked.empty());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(RecolorPixels, EmptyListShowsTheErrorAndChangesNothing) {
    FakeDialogs dialogs;
    Surface picture(1, 1, kRed);
    std::vector<std::int32_t> picked;
    EXPECT_FALSE(RecolorPixels(picture, picture, 0, 0, picked, dialogs));
    EXPECT_EQ(picture.Pixel(0, 0), kRed);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].rfind("错误号:9:", 0), 0u) << dialogs.messages[0];
}

TEST(DashedGrid, LinesEveryEightPixelsInGreyAndSilver) {
    Surface display(800, 400, 0);
    DrawDashedGrid(display, 100, 50);
    EXPECT_EQ(display.Pixel(0, 0), kGridGrey);
    EXPECT_EQ(display.Pixel(0, 1), kGridSilver);
    EXPECT_EQ(display.Pixel(8, 3), kGridSilver);
    EXPECT_EQ(display.Pixel(799, 8), kGridSilver);
    EXPECT_EQ(display.Pixel(3, 3), 0);  // inside a cell
    EXPECT_EQ(display.Pixel(7, 9), 0);  // between two columns, off the row
    EXPECT_EQ(display.Pixel(9, 7), 0);
    // The last column and row (x = 800, y = 400) fall just outside a display of the image.
    Surface larger(801, 401, 0);
    DrawDashedGrid(larger, 100, 50);
    EXPECT_EQ(larger.Pixel(800, 5), kGridSilver);
    EXPECT_EQ(larger.Pixel(5, 400), kGridSilver);
    EXPECT_EQ(larger.Pixel(800, 400), 0);  // each line is W or H long, the corner stays
}
