// SPDX-License-Identifier: MIT
// Mod_屏幕坐标与颜色: the pointer position, one screen pixel and the primary screen, the
// screen routines every subsystem reads the desktop through.
#pragma once

#include <optional>

#include "platform/desktop.h"
#include "sampling/colour_model.h"

namespace pelmora {

// The pointer's position in screen pixels.
ScreenPoint GetPointerPos(Desktop& desktop);
// The point given, or the pointer's position when none is: the pointer is asked only then.
ScreenPoint PointOrPointer(Desktop& desktop, const std::optional<ScreenPoint>& point);
// The colour value at (x, y) on any monitor, -1 where no screen is.
Colour GetScreenPixel(Desktop& desktop, std::int32_t x, std::int32_t y);
// The primary screen: the primary monitor's rectangle, measured now.
ScreenRegion GetPrimaryScreen(Desktop& desktop);

}  // namespace pelmora
