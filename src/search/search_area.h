// SPDX-License-Identifier: MIT
// Where on the screen a search looks.
#pragma once

#include <optional>

#include "platform/desktop.h"

namespace pelmora {

// The requested region (every monitor when none) clipped to monitors, the rectangle that
// holds every monitor; nothing when they do not overlap. Computed in 64 bits, so a region
// reaching past the 32-bit coordinates clips instead of wrapping.
std::optional<ScreenRegion> SearchArea(const std::optional<ScreenRegion>& requested, const ScreenRegion& monitors);

}  // namespace pelmora
