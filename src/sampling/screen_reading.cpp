// SPDX-License-Identifier: MIT
#include "sampling/screen_reading.h"

namespace pelmora {

ScreenPoint GetPointerPos(Desktop& desktop) { return desktop.PointerPos(); }

ScreenPoint PointOrPointer(Desktop& desktop, const std::optional<ScreenPoint>& point) {
    return point ? *point : desktop.PointerPos();
}

// The desktop knows where its screens are: every monitor counts (on Windows a monitor left of
// or above the primary one has negative coordinates), and a screen that grew since start-up
// counts.
Colour GetScreenPixel(Desktop& desktop, std::int32_t x, std::int32_t y) { return desktop.Pixel(x, y); }

ScreenRegion GetPrimaryScreen(Desktop& desktop) { return desktop.PrimaryMonitor(); }

}  // namespace pelmora
