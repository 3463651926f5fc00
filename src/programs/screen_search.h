// SPDX-License-Identifier: MIT
// Searching a grabbed screen area for a colour or for a picture. Both work on one buffer
// read in a single grab; positions are relative to the area's top-left pixel and come in
// reading order: rows from the top, each from the left.
#pragma once

#include <optional>
#include <vector>

#include "platform/desktop.h"
#include "platform/surface.h"
#include "sampling/colour_model.h"

namespace pelmora {

// Each of red, green and blue of a and b differ by at most tolerance (0 to 255); the
// values' top bytes are ignored.
bool ColoursNear(Colour a, Colour b, int tolerance);

// The pixels of area near colour: the first one, or every one when all.
std::vector<ScreenPoint> FindColourIn(const Surface& area, Colour colour, int tolerance, bool all);

// The top-left corners where picture lies in area, each of its pixels near the area's
// pixel under it; a pixel of the transparent colour matches anything. The first corner,
// or every one when all. None when the picture is larger than the area or empty.
std::vector<ScreenPoint> FindPictureIn(const Surface& area, const Surface& picture, int tolerance,
                                       std::optional<Colour> transparent, bool all);

}  // namespace pelmora
