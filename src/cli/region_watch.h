// SPDX-License-Identifier: MIT
// The looks of wait-change and wait-stable: the request's region grabbed again and again,
// each look compared with the one it is measured against.
#pragma once

#include <optional>
#include <variant>

#include "cli/cli_request.h"
#include "cli/cli_result.h"
#include "cli/cli_services.h"
#include "cli/found_places.h"

namespace pelmora {

class RegionWatch {
public:
    // What a look found: nothing changed (or it was the first, which it is measured against
    // from then on), or the smallest rectangle on the screen holding every changed pixel.
    using Change = std::optional<ScreenRegion>;

    RegionWatch(const CliRequest& request, CliServices& services) : request_(request), services_(services) {}

    // Grabs the region and compares it with the reference look; a changed look becomes the
    // reference when keepChanged (what changed since the last change), else the first look
    // stays it (what changed since the start). The grab's refusal when it failed.
    std::variant<Change, CliResult> Look(bool keepChanged);

private:
    const CliRequest& request_;
    CliServices& services_;
    std::optional<SearchGrab> reference_;
};

}  // namespace pelmora
