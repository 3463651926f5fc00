// SPDX-License-Identifier: MIT
// The searches' side of pelmora-cli: the search area grabbed in one read, the picture file
// read, and the places found written as the first or as every one.
#pragma once

#include <functional>
#include <string>
#include <variant>

#include "cli/cli_request.h"
#include "cli/cli_result.h"
#include "cli/cli_services.h"
#include "platform/surface.h"
#include "search/screen_search.h"

namespace pelmora {

// Runs search over request's region (every monitor when none) and answers with the places
// it finds, moved from the area's corner to the screen: the first, or with --all every one,
// each written as soon as it is found so that memory stays that of the grab; the result
// holds what closes the answer. Status 1 naming what when there is none.
CliResult FoundPlacesAnswer(const CliRequest& request, CliServices& services,
                            const std::function<void(const Surface& area, const FoundPlace& found)>& search,
                            const std::string& what);

// The picture of request's FILE, or why it cannot be read (status 2, the file named). Its
// headers are read first and refuse a file before its pixels are read; a file larger than
// the editor opens is refused as the editor refuses it.
std::variant<Surface, CliResult> ReadPictureFile(const CliRequest& request, CliFiles& files);

// One search of request's region for picture.
CliResult FindPictureAnswer(const CliRequest& request, CliServices& services, const Surface& picture);

}  // namespace pelmora
