// SPDX-License-Identifier: MIT
// The geometry both views compute the same way, whatever draws the windows: a scroll
// bar's value as a system slider holds it, and where a centred item starts.
#pragma once

#include <cstdint>

#include "platform/controls.h"

namespace pelmora {

// A scroll bar's value as a system scroll bar (or slider) holds it, and back. Those need
// their minimum below their maximum, so a bar whose Min lies above its Max holds its
// values negated: its left (top) end is still Min, and as an ordinary bar, with no
// inverted mode, the arrows, page areas, keys and wheel move the thumb the way it is drawn.
int ToSliderValue(const ScrollBar& bar, int value);
std::int16_t FromSliderValue(const ScrollBar& bar, int sliderValue);

// The bar's value moved by delta in the slider's own direction (an arrow or a page area
// towards the right or bottom end is positive), kept within the bar's range.
std::int16_t SteppedValue(const ScrollBar& bar, int sliderDelta);

// Where an item of length item starts inside an area of length area so that it is centred:
// half the difference, rounded down, so that an item larger than its area is centred the
// same way as a smaller one.
int CentredOffset(int area, int item);

}  // namespace pelmora
