// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "search/point_pattern.h"

using namespace pelmora;

namespace {
using Points = std::vector<ScreenPoint>;

Points EveryPlace(const Surface& area, const PointPattern& pattern, int tolerance, std::optional<double> similarity) {
    Points found;
    FindPointsIn(area, pattern, tolerance, similarity, [&](ScreenPoint place) {
        found.push_back(place);
        return true;
    });
    return found;
}

bool Near(Colour a, Colour b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs((a >> shift & 0xFF) - (b >> shift & 0xFF)) > tolerance) return false;
    return true;
}

// Every place, found by testing every point at every pixel.
Points EveryPlaceOneByOne(const Surface& area, const PointPattern& pattern, int tolerance, std::size_t allowed) {
    Points found;
    for (int y = 0; y < area.Height(); ++y)
        for (int x = 0; x < area.Width(); ++x) {
            if (!Near(area.Pixel(x, y), pattern.first, tolerance)) continue;
            std::size_t misses = 0;
            for (const PatternPoint& point : pattern.others) {
                const int px = x + point.dx, py = y + point.dy;
                const bool inside = px >= 0 && py >= 0 && px < area.Width() && py < area.Height();
                const bool near = inside && Near(area.Pixel(px, py), point.colour, point.tolerance.value_or(tolerance));
                if (point.absent ? near : !near) ++misses;
            }
            if (misses <= allowed) found.push_back({x, y});
        }
    return found;
}
}  // namespace

TEST(AllowedMisses, WholeShareOfThePointsWithoutBinaryFractionSurprises) {
    EXPECT_EQ(AllowedMisses(0.8, 10), 2u);  // (1 - 0.8) * 10 is 1.9999999999999996 in doubles
    EXPECT_EQ(AllowedMisses(0.7, 10), 3u);
    EXPECT_EQ(AllowedMisses(0.75, 3), 0u);
    EXPECT_EQ(AllowedMisses(1, 9), 0u);
    EXPECT_EQ(AllowedMisses(0.000000001, 4), 3u);
}

// A point off the area misses, an absent point there holds; with a miss allowed the first
// pixel of the area's last column is a place, though its point lies right of the area.
TEST(FindPointsIn, PointsOffTheAreaAndTheMissesASimilarityAllows) {
    Surface area(4, 3, 0x0000FF);
    const PointPattern outside{0x0000FF, {{1, 0, 0x0000FF, false, {}}, {0, -5, 0x0000FF, true, {}}}};
    EXPECT_EQ(EveryPlace(area, outside, 0, std::nullopt).size(), 9u) << "every pixel but the last column";
    EXPECT_EQ(EveryPlace(area, outside, 0, 0.5).size(), 12u);
    const PointPattern twoPoints{0x00FF00, {{1, 0, 0x0000FF, false, {}}, {2, 0, 0x0000FF, false, {}}}};
    EXPECT_EQ(EveryPlace(area, twoPoints, 0, 0.5), Points{}) << "the first colour must always be there";
}

// Random screens of few colours, where every colour is common, and patterns with absent
// points, tolerances of their own, offsets reaching off the area and misses allowed.
TEST(FindPointsIn, AgreesWithTestingEveryPointAtEveryPixel) {
    std::mt19937 random(5);
    const auto pick = [&](int count) { return static_cast<int>(random() % static_cast<unsigned>(count)); };
    constexpr Colour kColours[] = {0x000000, 0x0000FF, 0x0808F0, 0xFF0000, 0xFFFFFF};
    for (int round = 0; round < 300; ++round) {
        Surface area(1 + pick(40), 1 + pick(12));
        for (int y = 0; y < area.Height(); ++y)
            for (int x = 0; x < area.Width(); ++x) area.SetPixel(x, y, kColours[pick(5)]);
        PointPattern pattern{kColours[pick(5)], {}};
        for (int i = pick(6) + 1; i > 0; --i) {
            PatternPoint point{pick(9) - 4, pick(9) - 4, kColours[pick(5)], pick(4) == 0, std::nullopt};
            if (pick(3) == 0) point.tolerance = pick(2) * 16;
            pattern.others.push_back(point);
        }
        const int tolerance = pick(2) * 16;
        const std::optional<double> similarity = pick(2) ? std::optional(0.5 + pick(6) * 0.1) : std::nullopt;
        const std::size_t allowed = similarity ? AllowedMisses(*similarity, pattern.others.size()) : 0;
        ASSERT_EQ(EveryPlace(area, pattern, tolerance, similarity),
                  EveryPlaceOneByOne(area, pattern, tolerance, allowed))
            << "round " << round;
    }
}
