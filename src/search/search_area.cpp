// SPDX-License-Identifier: MIT
#include "search/search_area.h"

#include <algorithm>
#include <cstdint>

namespace pelmora {

std::optional<ScreenRegion> SearchArea(const std::optional<ScreenRegion>& requested, const ScreenRegion& monitors) {
    const ScreenRegion region = requested.value_or(monitors);
    const std::int64_t left = std::max<std::int64_t>(region.left, monitors.left);
    const std::int64_t top = std::max<std::int64_t>(region.top, monitors.top);
    const std::int64_t right =
        std::min(std::int64_t{region.left} + region.width, std::int64_t{monitors.left} + monitors.width);
    const std::int64_t bottom =
        std::min(std::int64_t{region.top} + region.height, std::int64_t{monitors.top} + monitors.height);
    if (right <= left || bottom <= top) return std::nullopt;
    return ScreenRegion{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
                        static_cast<std::int32_t>(right - left), static_cast<std::int32_t>(bottom - top)};
}

}  // namespace pelmora
