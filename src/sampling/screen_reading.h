// SPDX-License-Identifier: MIT
// Mod_屏幕坐标与颜色: the pointer position, one screen pixel and the screen size, the
// screen routines every subsystem reads the desktop through.
#pragma once

#include "platform/desktop.h"
#include "sampling/colour_model.h"

namespace pelmora {

// The pointer's position in screen pixels.
ScreenPoint GetPointerPos(Desktop& desktop);
// The colour value at (x, y) on any monitor, -1 where no screen is.
Colour GetScreenPixel(Desktop& desktop, std::int32_t x, std::int32_t y);
// The primary screen's size in pixels.
ScreenSize GetScreenSize(Desktop& desktop);

}  // namespace pelmora
