// SPDX-License-Identifier: MIT
// What changed between two looks at the same area of the screen.
#pragma once

#include <optional>

#include "platform/desktop.h"
#include "platform/surface.h"

namespace pelmora {

// The smallest rectangle of before's pixels that holds every pixel after has otherwise, in
// the pictures' own coordinates; nothing when the two are alike. Pictures of different
// sizes differ everywhere: the rectangle is the whole of after. Rows are compared whole
// first (memcmp), and only a row that differs is searched for its first and last changed
// pixel, from each end and no further than the rectangle found so far reaches, in blocks
// of 64 pixels compared with memcmp before their pixels are.
std::optional<ScreenRegion> ChangedRectangle(const Surface& before, const Surface& after);

}  // namespace pelmora
