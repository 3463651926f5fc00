// SPDX-License-Identifier: MIT
// Pictures resized for a search at several scales.
#pragma once

#include <optional>

#include "platform/surface.h"
#include "sampling/colour_model.h"

namespace pelmora {

// The picture resized to max(1, round(width * factor)) x max(1, round(height * factor))
// (halves to even; factor above 0) by area averaging both ways: each new pixel is the
// average of the old pixels' colours, each weighted by how much of the new pixel's square
// it covers, rounded half up per channel. So 0.5 averages 2 x 2 blocks, 1.5 blends old
// pixels at the seams, and a size left as it was keeps the picture unchanged.
// With a transparent colour, transparent old pixels take no part in the averages; a new
// pixel whose square is less than half covered by opaque old pixels is transparent
// (written in the transparent colour); and an average that comes out exactly in the
// transparent colour has its blue channel moved one level toward 128 (128 itself goes to
// 127), so that it stays opaque.
Surface ScaledPicture(const Surface& picture, double factor, std::optional<Colour> transparent);

}  // namespace pelmora
