// SPDX-License-Identifier: MIT
#include "cli/found_places.h"

#include <cstddef>
#include <optional>
#include <utility>

#include "capture/bitmap_file_reading.h"
#include "capture/screen_grab.h"
#include "cli/cli_answer.h"
#include "cli/shown_text.h"
#include "editor/image_files.h"
#include "search/search_area.h"

namespace pelmora {

CliResult FoundPlacesAnswer(const CliRequest& request, CliServices& services,
                            const std::function<void(const Surface& area, const FoundPlace& found)>& search,
                            const std::string& what) {
    const std::optional<ScreenRegion> area = SearchArea(request.region, services.desktop.AllMonitors());
    if (!area) return Refusal(kCliNotFound, "the region lies off the screen");
    const std::optional<Surface> pixels =
        GrabScreenArea(services.desktop, area->left, area->top, area->width, area->height, false);
    if (!pixels) return Refusal(kCliRefused, "the screen could not be read");

    std::size_t count = 0;
    std::string first, failure;
    search(*pixels, [&](ScreenPoint place) {
        const ScreenPoint onScreen{area->left + place.x, area->top + place.y};
        if (!request.all) {
            first = AnswerText({{"place", onScreen, CliShown::kAsIs}}, request.json);
            ++count;
            return false;
        }
        failure = services.write(PlaceInList(onScreen, request.json, count == 0));
        ++count;
        return failure.empty();
    });
    if (!failure.empty()) return Refusal(kCliRefused, "cannot write the output: " + failure);
    if (count == 0) return Refusal(kCliNotFound, what + " not found");
    return Answered(request.all ? PlaceListEnd(request.json) : first);
}

std::variant<Surface, CliResult> ReadPictureFile(const CliRequest& request, CliFiles& files) {
    static_assert(kLargestEditorPixels == std::int64_t{4096} * 4096, "the message below names the limit");
    LoadedBitmap loaded = LoadBitmapFile(
        [&](std::uint64_t maxBytes) { return files.ReadFileStart(request.file, maxBytes); }, kLargestEditorPixels);
    const std::string file = "FILE: " + QuotedInMessage(request.file);
    switch (loaded.problem) {
        case LoadedBitmap::Problem::kNone: return std::move(*loaded.picture);
        case LoadedBitmap::Problem::kNotAFile:
            return Refusal(kCliBadArguments, file + " is no file to read: " + loaded.englishError);
        case LoadedBitmap::Problem::kUnreadable:
            return Refusal(kCliBadArguments, file + " cannot be read: " + loaded.englishError);
        case LoadedBitmap::Problem::kTooLarge:
            return Refusal(kCliBadArguments, file + " is too large: a picture may have at most 4096 x 4096 pixels");
        case LoadedBitmap::Problem::kNotReadable: break;
    }
    return Refusal(kCliBadArguments, file + " is no readable bitmap: " + loaded.englishError);
}

CliResult FindPictureAnswer(const CliRequest& request, CliServices& services, const Surface& picture) {
    return FoundPlacesAnswer(
        request, services,
        [&](const Surface& area, const FoundPlace& found) {
            FindPictureIn(area, picture, request.tolerance, request.transparent, found);
        },
        "picture " + QuotedInMessage(request.file));
}

}  // namespace pelmora
