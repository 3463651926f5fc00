// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <random>
#include <utility>
#include <vector>

#include "search/picture_scaling.h"
#include "search/similarity_search.h"
#include "search/wide_integer.h"

using namespace pelmora;

namespace {
int ChannelOf(Colour colour, int channel) { return colour >> (8 * channel) & 0xFF; }

Colour Rgb(int red, int green, int blue) {
    return std::clamp(red, 0, 255) | std::clamp(green, 0, 255) << 8 | std::clamp(blue, 0, 255) << 16;
}

bool Clear(Colour pixel, const SimilarityRule& rule) {
    return rule.transparent && ((pixel ^ *rule.transparent) & 0xFFFFFF) == 0;
}

// One opaque pixel of a picture: where it lies and its channels.
struct OpaquePixel {
    int x;
    int y;
    int channels[3];
};

std::vector<OpaquePixel> OpaquePixels(const Surface& picture, const SimilarityRule& rule) {
    std::vector<OpaquePixel> pixels;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            if (const Colour colour = picture.Row(y)[x]; !Clear(colour, rule))
                pixels.push_back({x, y, {ChannelOf(colour, 0), ChannelOf(colour, 1), ChannelOf(colour, 2)}});
    return pixels;
}

// The score of one place straight from its definition, in double: each channel's means
// over the opaque pixels taken away, sums over channels and opaque pixels.
double ScoreByDefinition(const Surface& area, const std::vector<OpaquePixel>& picture, ScreenPoint at,
                         const SimilarityRule& rule) {
    if (picture.empty()) return 1;
    const double count = static_cast<double>(picture.size());
    double pictureMean[3] = {0, 0, 0}, areaMean[3] = {0, 0, 0}, near = 0;
    for (const OpaquePixel& pixel : picture) {
        const Colour under = area.Row(at.y + pixel.y)[at.x + pixel.x];
        bool within = true;
        for (int channel = 0; channel < 3; ++channel) {
            pictureMean[channel] += pixel.channels[channel] / count;
            areaMean[channel] += ChannelOf(under, channel) / count;
            within = within && std::abs(pixel.channels[channel] - ChannelOf(under, channel)) <= rule.tolerance;
        }
        near += within ? 1 : 0;
    }
    double products = 0, pictureSquares = 0, areaSquares = 0;
    for (const OpaquePixel& pixel : picture) {
        const Colour under = area.Row(at.y + pixel.y)[at.x + pixel.x];
        for (int channel = 0; channel < 3; ++channel) {
            const double over = pixel.channels[channel] - pictureMean[channel];
            const double below = ChannelOf(under, channel) - areaMean[channel];
            products += over * below;
            pictureSquares += over * over;
            areaSquares += below * below;
        }
    }
    // A picture of one colour: its deviations vanish but for rounding of the means.
    if (pictureSquares < 1e-9) return near / count;
    if (areaSquares < 1e-9) return 0;
    return std::clamp(products / std::sqrt(pictureSquares * areaSquares), -1.0, 1.0);
}

double ScoreByDefinition(const Surface& area, const Surface& picture, ScreenPoint at, const SimilarityRule& rule) {
    return ScoreByDefinition(area, OpaquePixels(picture, rule), at, rule);
}

// Every place's score, in reading order.
std::vector<ScoredPlace> EveryScore(const Surface& area, const Surface& picture, const SimilarityRule& rule) {
    const std::vector<OpaquePixel> pixels = OpaquePixels(picture, rule);
    std::vector<ScoredPlace> places;
    for (int y = 0; y + picture.Height() <= area.Height(); ++y)
        for (int x = 0; x + picture.Width() <= area.Width(); ++x)
            places.push_back({{x, y}, ScoreByDefinition(area, pixels, {x, y}, rule)});
    return places;
}

// Scores closer than this count as equal: the definition's double sums and the search's
// whole-number ones may differ in the last bits.
constexpr double kSame = 1e-12;

bool Beats(const ScoredPlace& a, const ScoredPlace& b) {
    if (std::abs(a.score - b.score) > kSame) return a.score > b.score;
    return a.place.y < b.place.y || (a.place.y == b.place.y && a.place.x < b.place.x);
}

std::optional<ScoredPlace> BestByDefinition(const std::vector<ScoredPlace>& scores, double threshold) {
    std::optional<ScoredPlace> best;
    for (const ScoredPlace& place : scores)
        if (place.score >= threshold && (!best || Beats(place, *best))) best = place;
    return best;
}

// scores: every place's, in reading order, placesWide to a row.
std::vector<ScoredPlace> SimilarByDefinition(const std::vector<ScoredPlace>& scores, int placesWide, double threshold,
                                             int distance) {
    const int placesHigh = static_cast<int>(scores.size()) / placesWide;
    std::vector<ScoredPlace> kept;
    for (const ScoredPlace& place : scores) {
        if (place.score < threshold) continue;
        bool beaten = false;
        for (int dy = -distance; dy <= distance && !beaten; ++dy)
            for (int dx = -distance; dx <= distance && !beaten; ++dx) {
                const int x = place.place.x + dx, y = place.place.y + dy;
                if ((dx == 0 && dy == 0) || dx * dx + dy * dy > distance * distance || x < 0 || y < 0 ||
                    x >= placesWide || y >= placesHigh)
                    continue;
                const ScoredPlace& other = scores[static_cast<std::size_t>(y) * static_cast<std::size_t>(placesWide) +
                                                  static_cast<std::size_t>(x)];
                beaten = other.score >= threshold && Beats(other, place);
            }
        if (!beaten) kept.push_back(place);
    }
    std::sort(kept.begin(), kept.end(), Beats);
    return kept;
}

void ExpectSame(const std::optional<ScoredPlace>& got, const std::optional<ScoredPlace>& want) {
    ASSERT_EQ(got.has_value(), want.has_value());
    if (!got) return;
    EXPECT_EQ(got->place, want->place);
    EXPECT_NEAR(got->score, want->score, 1e-9);
}

void ExpectSame(const std::vector<ScoredPlace>& got, const std::vector<ScoredPlace>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t index = 0; index < got.size(); ++index) {
        EXPECT_EQ(got[index].place, want[index].place) << index;
        EXPECT_NEAR(got[index].score, want[index].score, 1e-9) << index;
    }
}

// Each channel a gradient (with a little noise, and a wave so that no window is another's
// copy shifted), so that near every place scores high against a piece of it.
Surface SmoothScreen(std::mt19937& random, int width, int height, int noise) {
    Surface screen(width, height);
    double slope[3][2], base[3], wave[3];
    for (int channel = 0; channel < 3; ++channel) {
        slope[channel][0] = static_cast<int>(random() % 9) - 4;
        slope[channel][1] = static_cast<int>(random() % 9) - 4;
        base[channel] = 60 + static_cast<double>(random() % 120);
        wave[channel] = 0.1 + static_cast<double>(random() % 8) * 0.05;
    }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int value[3];
            for (int channel = 0; channel < 3; ++channel)
                value[channel] = static_cast<int>(base[channel] + slope[channel][0] * x + slope[channel][1] * y +
                                                  12 * std::sin(wave[channel] * (x + 2 * y))) +
                                 (noise > 0 ? static_cast<int>(random() % (2 * noise + 1)) - noise : 0);
            screen.SetPixel(x, y, Rgb(value[0], value[1], value[2]));
        }
    return screen;
}

// Each channel one of a few levels, at random.
Surface BlockyScreen(std::mt19937& random, int width, int height, int levels) {
    Surface screen(width, height);
    const auto level = [&] { return static_cast<int>(random() % levels) * 255 / (levels - 1); };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) screen.SetPixel(x, y, Rgb(level(), level(), level()));
    return screen;
}

Surface Cut(const Surface& area, ScreenPoint at, int width, int height) {
    Surface picture(width, height);
    picture.BitBlt(0, 0, width, height, area, at.x, at.y);
    return picture;
}

constexpr Colour kMagenta = 0xFF00FF;
}  // namespace

// Screens smooth (where many places pass), with noise and blocky; pictures cut from them,
// some disturbed, some with a quarter of their pixels transparent, some scaled; pictures of
// 3 to 16 pixels (a few larger ones, with finer grids of blocks and margins); thresholds from
// 0.5 to 1; neighbourhoods of 0 to 5 pixels.
TEST(SimilaritySearch, EveryAnswerIsTheDefinitionsOnRandomScreens) {
    for (int round = 0; round < 64; ++round) {
        SCOPED_TRACE(round);
        std::mt19937 random(static_cast<unsigned>(round));
        const bool large = round % 20 == 19;
        const int width = (large ? 70 : 40) + static_cast<int>(random() % 51);
        const int height = (large ? 55 : 30) + static_cast<int>(random() % 41);
        const Surface area = round % 3 == 2 ? BlockyScreen(random, width, height, 2 + static_cast<int>(random() % 3))
                                            : SmoothScreen(random, width, height, static_cast<int>(random() % 3));
        const int side = large ? 32 : 3;
        const int pictureWidth = side + static_cast<int>(random() % 14),
                  pictureHeight = side + static_cast<int>(random() % 14);
        const ScreenPoint at{static_cast<int>(random() % static_cast<unsigned>(width - pictureWidth + 1)),
                             static_cast<int>(random() % static_cast<unsigned>(height - pictureHeight + 1))};
        Surface picture = Cut(area, at, pictureWidth, pictureHeight);
        SimilarityRule rule;
        rule.threshold = 0.5 + static_cast<int>(random() % 51) / 100.0;
        if (random() % 3 == 0) {
            // Clear pixels scattered (a quarter), a corner cut off, or the first row and column.
            rule.transparent = kMagenta;
            const auto shape = random() % 3;
            if (shape == 0) {
                for (int pixel = 0; pixel < pictureWidth * pictureHeight / 4; ++pixel)
                    picture.SetPixel(static_cast<int>(random() % static_cast<unsigned>(pictureWidth)),
                                     static_cast<int>(random() % static_cast<unsigned>(pictureHeight)), kMagenta);
            } else {
                for (int y = 0; y < pictureHeight; ++y)
                    for (int x = 0; x < pictureWidth; ++x)
                        if (shape == 1 ? x * pictureHeight + y * pictureWidth < pictureWidth * pictureHeight * 7 / 10
                                       : x == 0 || y == 0)
                            picture.SetPixel(x, y, kMagenta);
            }
        }
        if (random() % 3 == 0)
            for (int y = 0; y < pictureHeight; ++y)
                for (int x = 0; x < pictureWidth; ++x)
                    if (!Clear(picture.Pixel(x, y), rule)) {
                        const Colour colour = picture.Pixel(x, y);
                        const auto shift = [&](int channel) {
                            return ChannelOf(colour, channel) + static_cast<int>(random() % 9) - 4;
                        };
                        picture.SetPixel(x, y, Rgb(shift(0), shift(1), std::min(shift(2), 254)));
                    }
        if (random() % 4 == 0)
            picture = ScaledPicture(picture, 0.5 + static_cast<int>(random() % 11) / 10.0, rule.transparent);
        if (picture.Width() > width || picture.Height() > height) continue;
        const int distance = static_cast<int>(random() % 6);
        const std::vector<ScoredPlace> scores = EveryScore(area, picture, rule);
        ExpectSame(BestSimilarPlace(area, picture, rule), BestByDefinition(scores, rule.threshold));
        ExpectSame(SimilarPlaces(area, picture, rule, distance),
                   SimilarByDefinition(scores, width - picture.Width() + 1, rule.threshold, distance));
    }
}

// On a smooth screen places all over pass 0.9; the answer is the best one, not the first.
// The screen is large enough for the search to split its rows between two threads.
TEST(BestSimilarPlace, TheHighestScoreNotTheFirstOverTheThreshold) {
    // Slow waves in each channel, nowhere clipped, and a little noise: every window is
    // smooth, and only the cut itself scores 1.
    std::mt19937 random(7);
    Surface area(400, 180);
    for (int y = 0; y < 180; ++y)
        for (int x = 0; x < 400; ++x) {
            const auto wave = [&](double across, double down, double phase) {
                return static_cast<int>(128 + 60 * std::sin(across * x + down * y + phase) +
                                        30 * std::sin(0.013 * x * y / 40)) +
                       static_cast<int>(random() % 3) - 1;
            };
            area.SetPixel(x, y, Rgb(wave(0.05, 0.02, 0), wave(0.03, -0.04, 1), wave(-0.02, 0.05, 2)));
        }
    const Surface picture = Cut(area, {310, 150}, 12, 9);
    SimilarityRule rule;
    rule.threshold = 0.9;
    const std::vector<ScoredPlace> scores = EveryScore(area, picture, rule);
    const auto first = std::find_if(scores.begin(), scores.end(), [](const ScoredPlace& p) { return p.score >= 0.9; });
    ASSERT_NE(first, scores.end());
    EXPECT_LT(first->place.y, 140);
    const std::optional<ScoredPlace> best = BestSimilarPlace(area, picture, rule);
    ASSERT_TRUE(best);
    EXPECT_EQ(best->place, (ScreenPoint{310, 150}));
    EXPECT_EQ(best->score, 1.0);
    ExpectSame(best, BestByDefinition(scores, rule.threshold));
}

// Copies of the picture score exactly alike; the first in reading order (rows first) wins,
// and SimilarPlaces lists them in that order.
TEST(BestSimilarPlace, EqualScoresGoToTheFirstInReadingOrder) {
    std::mt19937 random(3);
    Surface area = BlockyScreen(random, 60, 40, 4);
    const Surface picture = Cut(area, {40, 25}, 7, 5);
    area.BitBlt(45, 3, 7, 5, picture, 0, 0);
    area.BitBlt(2, 3, 7, 5, picture, 0, 0);
    // Copies score exactly 1, and so reach even that threshold.
    SimilarityRule exact;
    exact.threshold = 1;
    const std::optional<ScoredPlace> best = BestSimilarPlace(area, picture, exact);
    ASSERT_TRUE(best);
    EXPECT_EQ(best->place, (ScreenPoint{2, 3}));
    EXPECT_EQ(best->score, 1.0);
    const std::vector<ScoredPlace> all = SimilarPlaces(area, picture, SimilarityRule{}, 3);
    ASSERT_EQ(all.size(), 3U);
    EXPECT_EQ(all[0].place, (ScreenPoint{2, 3}));
    EXPECT_EQ(all[1].place, (ScreenPoint{45, 3}));
    EXPECT_EQ(all[2].place, (ScreenPoint{40, 25}));
    EXPECT_EQ(all[0].score, all[2].score);
}

// At a copy every bound is tight (the area's deviations are the picture's), so a bound
// the least bit too low loses it: copies of pictures with grids of 1 to 64 blocks, with and
// without margins and transparent pixels, must reach a threshold of 1.
TEST(BestSimilarPlace, CopiesOfEverySizeReachAThresholdOfOne) {
    std::mt19937 random(5);
    const Surface area = SmoothScreen(random, 150, 110, 2);
    SimilarityRule rule;
    rule.threshold = 1;
    for (const auto& [width, height] : {std::pair{9, 7}, {16, 16}, {33, 17}, {40, 24}, {64, 64}, {70, 50}}) {
        SCOPED_TRACE(width * 100 + height);
        const ScreenPoint at{150 - width - 3, 110 - height - 2};
        Surface picture = Cut(area, at, width, height);
        rule.transparent.reset();
        std::optional<ScoredPlace> best = BestSimilarPlace(area, picture, rule);
        ASSERT_TRUE(best);
        EXPECT_EQ(best->place, at);
        EXPECT_EQ(best->score, 1.0);
        picture.Rectangle(0, 0, width / 3, height / 2, kMagenta, kMagenta);
        rule.transparent = kMagenta;
        best = BestSimilarPlace(area, picture, rule);
        ASSERT_TRUE(best);
        EXPECT_EQ(best->place, at);
    }
}

// Grids of more than 2^24 / 255 pixels keep their block sums in double, not float.
TEST(BestSimilarPlace, PicturesTooLargeForFloatSumsAreSearchedAlike) {
    std::mt19937 random(9);
    const Surface area = SmoothScreen(random, 267, 266, 2);
    SimilarityRule rule;
    Surface picture = Cut(area, {2, 1}, 264, 264);  // a grid of 8 x 8 blocks of 33 x 33 pixels
    rule.threshold = 1;                             // where the bounds are tight
    const std::optional<ScoredPlace> copy = BestSimilarPlace(area, picture, rule);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->place, (ScreenPoint{2, 1}));
    rule.threshold = 0.5;
    picture.SetPixel(100, 100, Rgb(0, 0, 0));
    const std::vector<ScoredPlace> scores = EveryScore(area, picture, rule);
    ExpectSame(BestSimilarPlace(area, picture, rule), BestByDefinition(scores, rule.threshold));
    ExpectSame(SimilarPlaces(area, picture, rule, 1), SimilarByDefinition(scores, 4, rule.threshold, 1));
}

// A picture of one colour has no correlation: it scores the share of its opaque pixels
// whose area pixel lies within the tolerance.
TEST(SimilaritySearch, APictureOfOneColourScoresTheShareOfNearPixels) {
    Surface area(20, 10, Rgb(10, 10, 10));
    area.Rectangle(5, 2, 9, 6, Rgb(100, 150, 200), Rgb(100, 150, 200));  // 4 x 4
    area.SetPixel(8, 5, Rgb(103, 150, 200));                             // three levels off in red
    const Surface picture(4, 4, Rgb(100, 150, 200));
    SimilarityRule rule;
    rule.threshold = 0.5;
    std::optional<ScoredPlace> best = BestSimilarPlace(area, picture, rule);
    ASSERT_TRUE(best);
    EXPECT_EQ(best->place, (ScreenPoint{5, 2}));
    EXPECT_DOUBLE_EQ(best->score, 15.0 / 16);
    rule.tolerance = 3;
    best = BestSimilarPlace(area, picture, rule);
    ASSERT_TRUE(best);
    EXPECT_DOUBLE_EQ(best->score, 1.0);
    // Half a step away, half its pixels: the share passes 0.5 at the first such place.
    rule.tolerance = 0;
    const std::vector<ScoredPlace> all = SimilarPlaces(area, picture, rule, 0);
    ASSERT_FALSE(all.empty());
    for (const ScoredPlace& place : all)
        EXPECT_NEAR(place.score, ScoreByDefinition(area, picture, place.place, rule), 1e-12);
    // Transparent pixels do not count: with its top half clear the picture fits wholly one
    // row higher, and at (5, 2) seven of its eight pixels match.
    Surface holed = picture;
    holed.Rectangle(0, 0, 4, 2, kMagenta, kMagenta);
    rule.transparent = kMagenta;
    best = BestSimilarPlace(area, holed, rule);
    ASSERT_TRUE(best);
    EXPECT_EQ(best->place, (ScreenPoint{5, 0}));
    EXPECT_DOUBLE_EQ(best->score, 1.0);
    const std::vector<ScoredPlace> holedPlaces = SimilarPlaces(area, holed, rule, 0);
    const auto lower = std::find_if(holedPlaces.begin(), holedPlaces.end(), [](const ScoredPlace& place) {
        return place.place == ScreenPoint{5, 2};
    });
    ASSERT_NE(lower, holedPlaces.end());
    EXPECT_DOUBLE_EQ(lower->score, 7.0 / 8);
    // A picture with no opaque pixel scores 1 everywhere.
    const Surface hollow(3, 3, kMagenta);
    best = BestSimilarPlace(area, hollow, rule);
    ASSERT_TRUE(best);
    EXPECT_EQ(best->place, (ScreenPoint{0, 0}));
    EXPECT_EQ(best->score, 1.0);
}

// Under a picture of several colours, a window of one colour scores 0, and a negative
// correlation scores below 0: neither reaches a threshold above 0, both reach lower ones.
TEST(SimilaritySearch, FlatWindowsScoreZero) {
    Surface area(30, 20, Rgb(90, 90, 90));
    Surface picture(4, 3);
    for (int x = 0; x < 4; ++x)
        for (int y = 0; y < 3; ++y) picture.SetPixel(x, y, Rgb(x * 40, y * 50, 10));
    area.BitBlt(20, 12, 4, 3, picture, 0, 0);
    SimilarityRule rule;
    rule.threshold = 1e-9;
    const std::vector<ScoredPlace> scores = EveryScore(area, picture, rule);
    ExpectSame(SimilarPlaces(area, picture, rule, 0), SimilarByDefinition(scores, 27, rule.threshold, 0));
    for (const ScoredPlace& place : SimilarPlaces(area, picture, rule, 0)) EXPECT_GT(place.score, 0);
    for (const double threshold : {0.0, -1.0}) {
        rule.threshold = threshold;
        ExpectSame(BestSimilarPlace(area, picture, rule), BestByDefinition(scores, threshold));
        ExpectSame(SimilarPlaces(area, picture, rule, 2), SimilarByDefinition(scores, 27, threshold, 2));
    }
}

// A place is kept only when none within the distance beats it: a weaker copy near a
// stronger one goes, a weaker one far away stays.
TEST(SimilarPlaces, AWeakerPlaceNearAStrongerOneIsLeftOut) {
    std::mt19937 random(11);
    Surface area = BlockyScreen(random, 80, 30, 3);
    const Surface picture = Cut(area, {10, 10}, 6, 6);
    Surface weaker = picture;
    weaker.SetPixel(2, 2, picture.Pixel(2, 2) ^ 0x404040);
    area.BitBlt(16, 11, 6, 6, weaker, 0, 0);  // 6.1 pixels from the copy at (10, 10)
    area.BitBlt(60, 12, 6, 6, weaker, 0, 0);
    SimilarityRule rule;
    rule.threshold = 0.8;
    const std::vector<ScoredPlace> apart = SimilarPlaces(area, picture, rule, 7);
    ASSERT_EQ(apart.size(), 2U);
    EXPECT_EQ(apart[0].place, (ScreenPoint{10, 10}));
    EXPECT_EQ(apart[1].place, (ScreenPoint{60, 12}));
    EXPECT_LT(apart[1].score, 1.0);
    // Within 6 pixels the copy at (16, 11) has no stronger neighbour.
    const std::vector<ScoredPlace> closer = SimilarPlaces(area, picture, rule, 6);
    ASSERT_EQ(closer.size(), 3U);
    EXPECT_EQ(closer[1].place, (ScreenPoint{16, 11}));
    EXPECT_EQ(closer[1].score, apart[1].score);
}

TEST(SimilaritySearch, NoPlaceForAnEmptyPictureOrOneLargerThanTheArea) {
    const Surface area(10, 8, Rgb(1, 2, 3));
    EXPECT_FALSE(BestSimilarPlace(area, Surface(), SimilarityRule{}));
    EXPECT_FALSE(BestSimilarPlace(area, Surface(11, 2), SimilarityRule{}));
    EXPECT_TRUE(SimilarPlaces(area, Surface(2, 9), SimilarityRule{}, 1).empty());
}

// ---- Scaling ---------------------------------------------------------------------------

TEST(ScaledPicture, HalfAveragesEachTwoByTwoBlockRoundingHalvesUp) {
    Surface picture(4, 2);
    const Colour block[4][4] = {{Rgb(0, 10, 255), Rgb(1, 20, 255), Rgb(0, 30, 255), Rgb(1, 41, 254)},
                                {Rgb(2, 0, 0), Rgb(2, 0, 0), Rgb(2, 0, 0), Rgb(3, 0, 1)}};
    for (int x = 0; x < 4; ++x) {
        picture.SetPixel(x, 0, block[0][x]);
        picture.SetPixel(x, 1, block[1][x]);
    }
    const Surface half = ScaledPicture(picture, 0.5, std::nullopt);
    ASSERT_EQ(half.Width(), 2);
    ASSERT_EQ(half.Height(), 1);
    EXPECT_EQ(half.Pixel(0, 0), Rgb(1, 8, 128));   // (0+1+2+2)/4 = 1.25, 30/4 = 7.5 up, 510/4 = 127.5 up
    EXPECT_EQ(half.Pixel(1, 0), Rgb(2, 18, 128));  // 6/4 = 1.5 up, 71/4 = 17.75, 510/4
    // Sizes round halves to even, and never below 1.
    EXPECT_EQ(ScaledPicture(Surface(5, 3), 0.5, std::nullopt).Width(), 2);
    EXPECT_EQ(ScaledPicture(Surface(5, 3), 0.5, std::nullopt).Height(), 2);
    EXPECT_EQ(ScaledPicture(Surface(5, 3), 0.01, std::nullopt).Width(), 1);
}

TEST(ScaledPicture, OneAndAHalfBlendsAtTheSeamsAndOneKeepsThePicture) {
    Surface picture(2, 2);
    picture.SetPixel(0, 0, Rgb(0, 0, 0));
    picture.SetPixel(1, 0, Rgb(90, 0, 0));
    picture.SetPixel(0, 1, Rgb(0, 180, 0));
    picture.SetPixel(1, 1, Rgb(90, 180, 3));
    const Surface larger = ScaledPicture(picture, 1.5, std::nullopt);
    ASSERT_EQ(larger.Width(), 3);
    ASSERT_EQ(larger.Height(), 3);
    // New pixel 1 covers the second third of old pixel 0 and the first of old pixel 1.
    EXPECT_EQ(larger.Pixel(0, 0), Rgb(0, 0, 0));
    EXPECT_EQ(larger.Pixel(1, 0), Rgb(45, 0, 0));
    EXPECT_EQ(larger.Pixel(2, 0), Rgb(90, 0, 0));
    EXPECT_EQ(larger.Pixel(1, 1), Rgb(45, 90, 1));  // 3/4 = 0.75 rounds up
    EXPECT_EQ(larger.Pixel(2, 2), Rgb(90, 180, 3));
    Surface odd(3, 2);
    for (int x = 0; x < 3; ++x) odd.SetPixel(x, 1, static_cast<Colour>(0x7F000000) | Rgb(x, 2 * x, 3 * x));
    const Surface same = ScaledPicture(odd, 1, std::nullopt);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(same.Pixel(x, y), odd.Pixel(x, y));
}

TEST(ScaledPicture, TransparentPixelsTakeNoPartAndLessThanHalfCoveredIsTransparent) {
    Surface picture(4, 2, kMagenta);
    picture.SetPixel(0, 0, Rgb(10, 20, 30));
    picture.SetPixel(1, 1, Rgb(30, 40, 50));  // two of the first block's four: half covered
    picture.SetPixel(3, 1, Rgb(200, 0, 0));   // one of the second's four
    const Surface half = ScaledPicture(picture, 0.5, kMagenta);
    EXPECT_EQ(half.Pixel(0, 0), Rgb(20, 30, 40));
    EXPECT_EQ(half.Pixel(1, 0), kMagenta);
    // An average that comes out in the transparent colour moves one level in blue toward 128.
    Surface pair(2, 1);
    pair.SetPixel(0, 0, Rgb(255, 0, 254));
    pair.SetPixel(1, 0, Rgb(254, 0, 255));  // averages 254.5 up to 255: magenta
    EXPECT_EQ(ScaledPicture(pair, 0.5, kMagenta).Pixel(0, 0), Rgb(255, 0, 254));
    pair.SetPixel(0, 0, Rgb(0, 0, 0));
    pair.SetPixel(1, 0, Rgb(0, 0, 2));  // blue 1: the transparent colour, moved up toward 128
    EXPECT_EQ(ScaledPicture(pair, 0.5, Rgb(0, 0, 1)).Pixel(0, 0), Rgb(0, 0, 2));
}

// ---- Exact sums ------------------------------------------------------------------------

TEST(WideInteger, ProductsAndSumsPastSixtyFourBitsAreExact) {
    const std::int64_t big = (std::int64_t{1} << 62) + 12345;
    const WideInteger square = WideInteger::Product(big, big);
    EXPECT_EQ(square - WideInteger::Product(big, big), WideInteger());
    // big^2 - (big - 1)(big + 1) = 1
    EXPECT_EQ(square - WideInteger::Product(big - 1, big + 1), WideInteger::Product(1, 1));
    EXPECT_EQ(WideInteger::Product(-big, big), -square);
    EXPECT_TRUE(WideInteger::Product(-3, big).Negative());
    EXPECT_DOUBLE_EQ(WideInteger::Product(std::int64_t{1} << 62, 4).ToDouble(), 18446744073709551616.0);
    EXPECT_DOUBLE_EQ(WideInteger::Product(-(std::int64_t{1} << 40), std::int64_t{3} << 40).ToDouble(),
                     -3.0 * 1099511627776.0 * 1099511627776.0);
    EXPECT_DOUBLE_EQ((WideInteger::Product(7, 6) - WideInteger::Product(10, 5)).ToDouble(), -8.0);
}
