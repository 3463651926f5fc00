// SPDX-License-Identifier: MIT
// Multi-point colour patterns: a first colour and colours at offsets from it, found as a
// whole on a grabbed screen area.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "platform/surface.h"
#include "sampling/colour_model.h"
#include "search/screen_search.h"

namespace pelmora {

// A colour at an offset from the pattern's first pixel.
struct PatternPoint {
    int dx = 0, dy = 0;
    Colour colour = 0;
    bool absent = false;           // the pixel there must not be near colour
    std::optional<int> tolerance;  // this point's own tolerance, instead of the search's
};

struct PointPattern {
    Colour first = 0;
    std::vector<PatternPoint> others;
};

// How many of count points may miss at a similarity (0 < similarity <= 1): the whole part
// of (1 - similarity) x count, with similarity taken to nine decimal places and counted in
// whole numbers, so that 0.8 of 10 points allows 2 (in binary fractions 1 - 0.8 falls a
// little short of 0.2, and 10 times it short of 2).
std::size_t AllowedMisses(double similarity, std::size_t count);

// The pixels of area where pattern lies, in reading order: each pixel near the first colour
// (within tolerance) where every other point, at its offset from that pixel, lies in the
// area and is near its colour (within its own tolerance when it has one, else within
// tolerance), or, for an absent point, is not near it. An absent point off the area holds:
// nothing there has the colour; any other point off the area misses. With a similarity,
// AllowedMisses of the other points may miss; the first colour always matches.
void FindPointsIn(const Surface& area, const PointPattern& pattern, int tolerance, std::optional<double> similarity,
                  const FoundPlace& found);

}  // namespace pelmora
