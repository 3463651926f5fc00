// SPDX-License-Identifier: MIT
// Searching a grabbed screen area for a colour or for a picture. Both work on one buffer
// read in a single grab; positions are relative to the area's top-left pixel and come in
// reading order: rows from the top, each from the left.
#pragma once

#include <functional>
#include <optional>

#include "platform/desktop.h"
#include "platform/surface.h"
#include "sampling/colour_model.h"

namespace pelmora {

// Each of red, green and blue of a and b differ by at most tolerance (0 to 255); the
// values' top bytes are ignored.
bool ColoursNear(Colour a, Colour b, int tolerance);

// Takes each place found, in reading order, as it is found; false ends the search.
using FoundPlace = std::function<bool(ScreenPoint place)>;

// The pixels of area near colour.
void FindColourIn(const Surface& area, Colour colour, int tolerance, const FoundPlace& found);

// The top-left corners where picture lies in area, each of its pixels near the area's
// pixel under it; a pixel of the transparent colour matches anything. None when the
// picture is larger than the area or empty.
void FindPictureIn(const Surface& area, const Surface& picture, int tolerance, std::optional<Colour> transparent,
                   const FoundPlace& found);

}  // namespace pelmora
