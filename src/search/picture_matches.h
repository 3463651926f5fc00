// SPDX-License-Identifier: MIT
// Pictures looked for in one grabbed area, in order: exactly (each pixel within a tolerance)
// or by similarity, each at every scale asked for. What pelmora-cli's find-image and the
// Python module's find_image both answer with.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "platform/desktop.h"
#include "platform/surface.h"
#include "sampling/colour_model.h"

namespace pelmora {

struct PictureQuery {
    int tolerance = 0;                  // each channel may differ by this much
    std::optional<Colour> transparent;  // pixels of the picture in this colour match anything
    std::optional<double> similarity;   // 0 < S <= 1: scored by correlation, not matched exactly
    std::vector<double> scales;         // the picture resized by each factor; empty is 1 alone
    std::optional<int> minDistance;     // with similarity and all: pixels around a place kept best
    bool all = false;                   // every place, not the first (or with similarity, the best)
};

struct PictureMatch {
    std::size_t index = 0;        // of the picture, from 0
    ScreenPoint place;            // its top-left corner in the area
    double factor = 1;            // the scale it was found at
    std::optional<double> score;  // with similarity
};

// Looks for each picture in area in turn and hands every place found to found, in the order
// of the answer: exact places in reading order, scale by scale; with similarity and not
// all the picture's best place over every scale (the highest score, then reading order,
// then the first scale); with similarity and all every place that is the best within the
// minimum distance of itself (half the picture's smaller side when not given), best first,
// less a place within that distance of a better one found at another scale. Stops as soon
// as found returns false.
void FindPictures(const Surface& area, const std::vector<Surface>& pictures, const PictureQuery& query,
                  const std::function<bool(const PictureMatch&)>& found);

}  // namespace pelmora
