// SPDX-License-Identifier: MIT
#include "cli/found_places.h"

#include <optional>

#include "capture/screen_grab.h"
#include "search/search_area.h"

namespace pelmora {

std::variant<SearchGrab, CliResult> GrabSearchArea(const CliRequest& request, CliServices& services) {
    const std::optional<ScreenRegion> area = SearchArea(request.region, services.desktop.AllMonitors());
    if (!area) return Refusal(kCliNotFound, "the region lies off the screen");
    std::optional<Surface> pixels =
        GrabScreenArea(services.desktop, area->left, area->top, area->width, area->height, false);
    if (!pixels) return Refusal(kCliRefused, "the screen could not be read");
    return SearchGrab{*area, std::move(*pixels)};
}

bool FoundPlacesWriter::Add(const std::vector<CliField>& place) {
    if (!request_.all) {
        first_ = AnswerText(place, request_.json);
        ++count_;
        return false;
    }
    failure_ = services_.write(PlaceInList(place, request_.json, count_ == 0));
    ++count_;
    return failure_.empty();
}

CliResult FoundPlacesWriter::Result(const std::string& what) const {
    if (!failure_.empty()) return Refusal(kCliRefused, "cannot write the output: " + failure_);
    if (count_ == 0) return Refusal(kCliNotFound, what + " not found");
    return Answered(request_.all ? PlaceListEnd(request_.json) : first_);
}

CliResult FoundPlacesAnswer(const CliRequest& request, CliServices& services,
                            const std::function<void(const Surface& area, const FoundPlace& found)>& search,
                            const std::string& what) {
    auto grab = GrabSearchArea(request, services);
    if (const auto* refused = std::get_if<CliResult>(&grab)) return *refused;
    const SearchGrab& grabbed = std::get<SearchGrab>(grab);
    FoundPlacesWriter writer(request, services);
    search(grabbed.pixels, [&](ScreenPoint place) {
        const ScreenPoint onScreen{grabbed.area.left + place.x, grabbed.area.top + place.y};
        return writer.Add({{"place", onScreen, CliShown::kAsIs}});
    });
    return writer.Result(what);
}

}  // namespace pelmora
