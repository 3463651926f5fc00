// SPDX-License-Identifier: MIT
#include "search/picture_change.h"

#include <cstring>

namespace pelmora {

std::optional<ScreenRegion> ChangedRectangle(const Surface& before, const Surface& after) {
    const int width = after.Width(), height = after.Height();
    if (before.Width() != width || before.Height() != height) {
        if (width == 0 || height == 0) return std::nullopt;
        return ScreenRegion{0, 0, width, height};
    }
    const std::size_t rowBytes = sizeof(std::int32_t) * static_cast<std::size_t>(width);
    int top = -1, bottom = -1, left = width, right = -1;
    for (int y = 0; y < height; ++y) {
        const std::int32_t* was = before.Row(y);
        const std::int32_t* is = after.Row(y);
        if (std::memcmp(was, is, rowBytes) == 0) continue;
        if (top < 0) top = y;
        bottom = y;
        // The row differs somewhere: only columns outside [left, right] can widen the rectangle.
        for (int x = 0; x < left; ++x)
            if (was[x] != is[x]) {
                left = x;
                break;
            }
        for (int x = width - 1; x > right; --x)
            if (was[x] != is[x]) {
                right = x;
                break;
            }
    }
    if (top < 0) return std::nullopt;
    return ScreenRegion{left, top, right - left + 1, bottom - top + 1};
}

}  // namespace pelmora
