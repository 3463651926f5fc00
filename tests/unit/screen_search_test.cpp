// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <random>
#include <vector>

#include "search/picture_change.h"
#include "search/screen_search.h"

using namespace pelmora;

namespace {
using Points = std::vector<ScreenPoint>;

// The places a search finds: the first, or every one when all.
Points Places(const std::function<void(const FoundPlace&)>& search, bool all) {
    Points found;
    search([&](ScreenPoint place) {
        found.push_back(place);
        return all;
    });
    return found;
}
Points ColourPlaces(const Surface& area, Colour colour, int tolerance, bool all) {
    return Places([&](const FoundPlace& found) { FindColourIn(area, colour, tolerance, found); }, all);
}
Points PicturePlaces(const Surface& area, const Surface& picture, int tolerance, std::optional<Colour> transparent,
                     bool all) {
    return Places([&](const FoundPlace& found) { FindPictureIn(area, picture, tolerance, transparent, found); }, all);
}

// Every corner where picture matches, by comparing every pixel at every corner.
Points EveryMatchByBruteForce(const Surface& area, const Surface& picture, int tolerance,
                              std::optional<Colour> transparent) {
    Points found;
    for (int y = 0; y + picture.Height() <= area.Height(); ++y)
        for (int x = 0; x + picture.Width() <= area.Width(); ++x) {
            bool match = true;
            for (int py = 0; py < picture.Height() && match; ++py)
                for (int px = 0; px < picture.Width() && match; ++px) {
                    const Colour want = picture.Pixel(px, py), got = area.Pixel(x + px, y + py);
                    if (transparent && want == *transparent) continue;
                    for (int shift = 0; shift < 24; shift += 8)
                        if (std::abs((want >> shift & 0xFF) - (got >> shift & 0xFF)) > tolerance) match = false;
                }
            if (match) found.push_back({x, y});
        }
    return found;
}

Surface Cut(const Surface& area, int left, int top, int width, int height) {
    Surface picture(width, height);
    picture.BitBlt(0, 0, width, height, area, left, top);
    return picture;
}
}  // namespace

TEST(ColoursNear, EachChannelWithinTheToleranceAndTheTopByteIgnored) {
    const Colour base = 0x506070;
    for (int shift = 0; shift < 24; shift += 8) {
        EXPECT_TRUE(ColoursNear(base, base + (5 << shift), 5)) << shift;
        EXPECT_FALSE(ColoursNear(base, base + (5 << shift), 4)) << shift;
        EXPECT_TRUE(ColoursNear(base + (5 << shift), base, 5)) << shift;  // below as above
        EXPECT_FALSE(ColoursNear(base, base + (1 << shift), 0)) << shift;
    }
    EXPECT_TRUE(ColoursNear(base, base | static_cast<Colour>(0xFF000000), 0));
    EXPECT_TRUE(ColoursNear(0x000000, 0xFFFFFF, 255));
    EXPECT_FALSE(ColoursNear(0x000000, 0xFFFFFF, 254));
}

TEST(FindColourIn, FirstInReadingOrderOrEveryOne) {
    Surface area(10, 5, 0x111111);
    area.SetPixel(7, 1, 0x0000FF);
    area.SetPixel(2, 3, 0x0000FF);
    area.SetPixel(5, 1, 0x0000FE);
    EXPECT_EQ(ColourPlaces(area, 0x0000FF, 0, false), (Points{{7, 1}}));
    EXPECT_EQ(ColourPlaces(area, 0x0000FF, 1, false), (Points{{5, 1}}));
    EXPECT_EQ(ColourPlaces(area, 0x0000FF, 1, true), (Points{{5, 1}, {7, 1}, {2, 3}}));
    EXPECT_EQ(ColourPlaces(area, 0x00FF00, 0, true), Points{});
    EXPECT_EQ(ColourPlaces(area, 0x000000, 255, true).size(), 50u);
}

TEST(FindPictureIn, AgreesWithComparingEveryCornerOnRandomScreens) {
    // Few colours, so that pieces of the picture occur all over the area.
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        Surface area(23, 17);
        const Colour palette[] = {0x000000, 0x0000FF, 0x00FF00, 0x000001, 0xFF0000};
        for (int y = 0; y < area.Height(); ++y)
            for (int x = 0; x < area.Width(); ++x) area.SetPixel(x, y, palette[random() % (round % 2 ? 2 : 5)]);
        const int width = 1 + static_cast<int>(random() % 4), height = 1 + static_cast<int>(random() % 3);
        Surface picture = Cut(area, static_cast<int>(random() % (24 - width)),
                              static_cast<int>(random() % (18 - height)), width, height);
        const std::optional<Colour> transparent = round % 3 == 0 ? std::optional<Colour>(0x0000FF) : std::nullopt;
        const int tolerance = round % 4 == 1 ? 1 : 0;
        const Points every = EveryMatchByBruteForce(area, picture, tolerance, transparent);
        ASSERT_FALSE(every.empty());  // the picture was cut from the area
        EXPECT_EQ(PicturePlaces(area, picture, tolerance, transparent, true), every) << round;
        EXPECT_EQ(PicturePlaces(area, picture, tolerance, transparent, false), Points{every.front()}) << round;
    }
}

TEST(FindPictureIn, FirstRowsRepeatingAllOverTheScreen) {
    // The screen is one 8 x 8 tile repeated; the picture is the tile with a last row that
    // occurs at one place only, so every corner matches the picture's first seven rows.
    Surface tile(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) tile.SetPixel(x, y, (x * 8 + y) * 0x030201);
    Surface area(400, 240);
    for (int y = 0; y < area.Height(); y += 8)
        for (int x = 0; x < area.Width(); x += 8) area.BitBlt(x, y, 8, 8, tile, 0, 0);
    Surface picture = tile;
    for (int x = 0; x < 8; ++x) picture.SetPixel(x, 7, 0x7F7F00 + x);
    area.BitBlt(336, 200, 8, 8, picture, 0, 0);
    EXPECT_EQ(PicturePlaces(area, picture, 0, std::nullopt, true), (Points{{336, 200}}));
    // The tile itself lies at every tile corner but the one the picture covers.
    EXPECT_EQ(PicturePlaces(area, tile, 0, std::nullopt, true).size(), 50u * 30u - 1u);
}

TEST(FindPictureIn, AgreesWithComparingEveryCornerWithinWiderTolerances) {
    // Colours that drift a little from pixel to pixel, so that many lie within the
    // tolerance of one another and across the coarse steps the anchor is chosen by; the
    // picture is a piece of the area with every channel moved by up to the tolerance and
    // some pixels made transparent.
    std::mt19937 random(11);
    for (int round = 0; round < 30; ++round) {
        const int tolerance = std::array{2, 8, 30}[round % 3];
        Surface area(40, 30);
        Colour colour = 0x808080;
        for (int y = 0; y < area.Height(); ++y)
            for (int x = 0; x < area.Width(); ++x) {
                Colour next = 0;
                for (int shift = 0; shift < 24; shift += 8) {
                    const int channel = (colour >> shift & 0xFF) + static_cast<int>(random() % 21) - 10;
                    next |= std::clamp(channel, 0, 254) << shift;
                }
                area.SetPixel(x, y, colour = next);
            }
        const int width = 2 + static_cast<int>(random() % 5), height = 2 + static_cast<int>(random() % 4);
        Surface picture = Cut(area, static_cast<int>(random() % (41 - width)),
                              static_cast<int>(random() % (31 - height)), width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                Colour moved = 0;
                for (int shift = 0; shift < 24; shift += 8) {
                    const int channel = (picture.Pixel(x, y) >> shift & 0xFF) +
                                        static_cast<int>(random() % (2 * tolerance + 1)) - tolerance;
                    moved |= std::clamp(channel, 0, 254) << shift;
                }
                picture.SetPixel(x, y, random() % 5 == 0 ? 0xFFFFFF : moved);
            }
        const Points every = EveryMatchByBruteForce(area, picture, tolerance, 0xFFFFFF);
        ASSERT_FALSE(every.empty());  // the picture was cut from the area
        EXPECT_EQ(PicturePlaces(area, picture, tolerance, 0xFFFFFF, true), every) << round;
        EXPECT_EQ(PicturePlaces(area, picture, tolerance, 0xFFFFFF, false), Points{every.front()}) << round;
    }
}

TEST(FindPictureIn, OnlyTheLastRowTellsTheOnePlaceApart) {
    // Columns of two colours in turn, every row the same: the picture's first 31 rows lie at
    // every other corner of the screen and both its colours are as common as each other
    // there; only its last row, with the colours swapped, lies at one place. Comparing all
    // 1024 pixels at each of those corners would take a thousand million comparisons,
    // seconds even in an optimised build; learning which pixel tells them apart takes one
    // pass over the screen.
    constexpr Colour kEven = 0x3C78B4, kOdd = 0xB4783C;
    Surface area(1920, 1080);
    for (int y = 0; y < area.Height(); ++y)
        for (int x = 0; x < area.Width(); ++x) area.SetPixel(x, y, x % 2 ? kOdd : kEven);
    Surface picture(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) picture.SetPixel(x, y, (x % 2 == 0) == (y < 31) ? kEven : kOdd);
    area.BitBlt(1500, 800, 32, 32, picture, 0, 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(PicturePlaces(area, picture, 0, std::nullopt, true), (Points{{1500, 800}}));
    EXPECT_EQ(PicturePlaces(area, picture, 8, std::nullopt, true), (Points{{1500, 800}}));
    // AddressSanitizer makes every comparison several times slower (1.35 s seen beside a
    // second build); the thousand million comparisons would still take far longer there.
#ifdef __SANITIZE_ADDRESS__
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
#else
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
#endif
}

TEST(FindPictureIn, ToleranceTransparentPixelsAndSizes) {
    Surface area(30, 20, 0x202020);
    area.Rectangle(10, 5, 14, 9, 0x4080C0, 0x4080C0);  // a 4 x 4 square
    Surface square(4, 4, 0x4181C1);                    // one off in every channel
    EXPECT_EQ(PicturePlaces(area, square, 0, std::nullopt, false), Points{});
    EXPECT_EQ(PicturePlaces(area, square, 1, std::nullopt, false), (Points{{10, 5}}));
    EXPECT_EQ(PicturePlaces(area, square, 255, std::nullopt, false), (Points{{0, 0}}));
    EXPECT_EQ(PicturePlaces(area, square, 255, std::nullopt, true).size(), 27u * 17u);

    // A white frame around the square matches any background once it is transparent.
    Surface framed(6, 6, 0xFFFFFF);
    framed.BitBlt(1, 1, 4, 4, area, 10, 5);
    EXPECT_EQ(PicturePlaces(area, framed, 0, std::nullopt, false), Points{});
    EXPECT_EQ(PicturePlaces(area, framed, 0, 0xFFFFFF, true), (Points{{9, 4}}));
    // A picture of nothing but transparent pixels lies everywhere.
    EXPECT_EQ(PicturePlaces(area, Surface(3, 2, 0xFFFFFF), 0, 0xFFFFFF, true).size(), 28u * 19u);

    EXPECT_EQ(PicturePlaces(area, Surface(31, 1, 0x202020), 0, std::nullopt, false), Points{});
    EXPECT_EQ(PicturePlaces(area, Surface(1, 21, 0x202020), 255, std::nullopt, false), Points{});
    EXPECT_EQ(PicturePlaces(area, area, 0, std::nullopt, true), (Points{{0, 0}}));
}

TEST(FindPictureIn, AFlatPictureWithOneStepOffPixelIsFoundWithoutComparingEveryCorner) {
    // Every corner of the flat screen matches all but one of the picture's pixels, and the
    // odd pixel's colour falls among the common ones in any coarse count. Comparing the
    // picture at every corner would take some 300 million comparisons, seconds even in an
    // optimised build; searching for the odd pixel first takes one pass over the screen.
    Surface area(640, 480, 0x808080);
    area.SetPixel(600, 450, 0x808081);
    Surface picture(32, 32, 0x808080);
    picture.SetPixel(31, 31, 0x808081);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(PicturePlaces(area, picture, 0, std::nullopt, true), (Points{{569, 419}}));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(ChangedRectangle, HoldsTheOutermostChangesWhereverTheyFallInTheRows) {
    const Surface before(200, 5, 1);
    Surface after = before;
    EXPECT_FALSE(ChangedRectangle(before, after).has_value());
    after.SetPixel(64, 1, 2);  // the first pixel of the second block of a row
    after.SetPixel(130, 3, 2);
    after.SetPixel(63, 3, 2);  // the last of the first block, in a row that also changed further right
    EXPECT_EQ(ChangedRectangle(before, after), (ScreenRegion{63, 1, 68, 3}));
    after.SetPixel(199, 4, 2);
    after.SetPixel(0, 2, 2);
    EXPECT_EQ(ChangedRectangle(before, after), (ScreenRegion{0, 1, 200, 4}));
    EXPECT_EQ(ChangedRectangle(Surface(3, 3, 1), after), (ScreenRegion{0, 0, 200, 5}));
}
