// SPDX-License-Identifier: MIT
// Finding where a picture nearly lies: each place scored by the normalised correlation
// coefficient of the picture and the area under it.
//
// The score of a place is the correlation coefficient over the three colour channels, as
// OpenCV's TM_CCOEFF_NORMED defines it for colour images, so that a threshold carried over
// from tools built on it means the same here. With T the picture and I the area under it,
// each channel's mean is taken away separately (T'c = Tc - mean of Tc, I'c = Ic - mean of Ic
// over the window), and
//     score = sum of T'c * I'c / sqrt(sum of T'c^2 * sum of I'c^2),
// every sum running over the three channels and the picture's pixels. Pixels of the
// transparent colour in the picture are left out of every sum and of both means. Edges:
// - A picture of one colour (over its opaque pixels) has no correlation: its score is the
//   share of its opaque pixels whose area pixel lies within the tolerance of that colour on
//   every channel (0 to 1). A picture with no opaque pixel scores 1 everywhere.
// - A window of one colour under a picture of several scores 0.
// - Scores lie in [-1, 1]; equal windows get bit-identical scores.
// The answers are exactly those of scoring every place: the search only skips places whose
// score provably lies below what is asked for (bounds from sums over blocks of the area and
// the picture's largest deviations, every rounding allowed for), and scores the rest from
// whole-number sums. Areas of 65536 places and more are searched by two threads, each over
// half the rows.
#pragma once

#include <optional>
#include <vector>

#include "platform/desktop.h"
#include "platform/surface.h"
#include "sampling/colour_model.h"

namespace pelmora {

struct ScoredPlace {
    ScreenPoint place;  // the picture's top-left corner, relative to the area
    double score = 0;
};

struct SimilarityRule {
    double threshold = 0.9;  // 0 < threshold <= 1
    // A picture of one colour has no correlation; its score is the share of its opaque
    // pixels whose area pixel lies within this tolerance of it.
    int tolerance = 0;
    std::optional<Colour> transparent;  // pixels of this colour (top byte aside) are left out of every sum
};

// The place with the highest score, when that reaches rule.threshold; of places with equal
// scores, the first in reading order (rows from the top, each from the left). Not the first
// place over the threshold: on a smooth screen many places pass and the best lies
// elsewhere. None when the picture is empty or larger than the area.
std::optional<ScoredPlace> BestSimilarPlace(const Surface& area, const Surface& picture, const SimilarityRule& rule);

// Every place whose score reaches rule.threshold and that is the best of all places within
// minDistance pixels of it (corners dx^2 + dy^2 <= minDistance^2; among equal scores the
// first in reading order is the best). A place beaten by a neighbour is left out even when
// that neighbour is beaten by another in turn. Best first; equal scores in reading order.
std::vector<ScoredPlace> SimilarPlaces(const Surface& area, const Surface& picture, const SimilarityRule& rule,
                                       int minDistance);

}  // namespace pelmora
