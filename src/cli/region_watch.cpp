// SPDX-License-Identifier: MIT
#include "cli/region_watch.h"

#include <utility>

#include "search/picture_change.h"

namespace pelmora {

std::variant<RegionWatch::Change, CliResult> RegionWatch::Look(bool keepChanged) {
    auto grab = GrabSearchArea(request_, services_);
    if (const auto* refused = std::get_if<CliResult>(&grab)) return *refused;
    SearchGrab& look = std::get<SearchGrab>(grab);
    if (!reference_) {
        reference_ = std::move(look);
        return Change{};
    }
    // An area clipped otherwise than before (its window moved partly off the screen) has
    // changed as a whole.
    Change changed = reference_->area == look.area ? ChangedRectangle(reference_->pixels, look.pixels)
                                                   : ScreenRegion{0, 0, look.area.width, look.area.height};
    if (!changed) return Change{};
    changed->left += look.area.left;
    changed->top += look.area.top;
    if (keepChanged) reference_ = std::move(look);
    return changed;
}

}  // namespace pelmora
