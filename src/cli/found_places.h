// SPDX-License-Identifier: MIT
// The searches' side of pelmora-cli: the search area grabbed in one read, and the places
// found written as the first or as every one.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "cli/cli_answer.h"
#include "cli/cli_request.h"
#include "cli/cli_result.h"
#include "cli/cli_services.h"
#include "platform/surface.h"
#include "search/screen_search.h"

namespace pelmora {

// The area a search looks at, read in one grab.
struct SearchGrab {
    ScreenRegion area;  // on the screen
    Surface pixels;
};

// request's region (every monitor when none) clipped to the monitors and grabbed; status 1
// when it lies off the screen, 3 when the screen cannot be read.
std::variant<SearchGrab, CliResult> GrabSearchArea(const CliRequest& request, CliServices& services);

// The answer of a search, written as places come: without --all the first place alone;
// with --all each one at once (so that memory stays that of the grab).
class FoundPlacesWriter {
public:
    FoundPlacesWriter(const CliRequest& request, CliServices& services) : request_(request), services_(services) {}
    // Takes a place's fields (a "place" point on the screen first); false when the search
    // should stop: the first place is taken, or the output cannot be written.
    bool Add(const std::vector<CliField>& place);
    // The answer: what closes the list, or the first place; status 1 naming what when
    // there was none.
    CliResult Result(const std::string& what) const;

private:
    const CliRequest& request_;
    CliServices& services_;
    std::size_t count_ = 0;
    std::string first_, failure_;
};

// Runs search over request's region and answers with the places it finds, moved from the
// area's corner to the screen.
CliResult FoundPlacesAnswer(const CliRequest& request, CliServices& services,
                            const std::function<void(const Surface& area, const FoundPlace& found)>& search,
                            const std::string& what);

}  // namespace pelmora
