// SPDX-License-Identifier: MIT
#include "cli/picture_answers.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <utility>

#include "capture/bitmap_file_reading.h"
#include "cli/found_places.h"
#include "cli/shown_text.h"
#include "editor/image_files.h"
#include "search/picture_matches.h"

namespace pelmora {

namespace {
std::variant<Surface, CliResult> ReadPictureFile(const std::string& path, CliFiles& files) {
    static_assert(kLargestEditorPixels == std::int64_t{4096} * 4096, "the message below names the limit");
    LoadedBitmap loaded = LoadBitmapFile([&](std::uint64_t maxBytes) { return files.ReadFileStart(path, maxBytes); },
                                         kLargestEditorPixels);
    const std::string file = "FILE: " + QuotedInMessage(path);
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

// A number with the digits it needs: a scale as it was given ("0.667").
std::string ShortestText(double value) {
    std::array<char, 32> digits{};
    return {digits.data(), std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr};
}

// A score with four decimals ("0.9512").
std::string ScoreText(double score) {
    std::array<char, 32> digits{};
    return {digits.data(),
            std::to_chars(digits.data(), digits.data() + digits.size(), score, std::chars_format::fixed, 4).ptr};
}

// Its fields: the place moved to the screen; with several pictures the picture's number
// (from 1) before it and in "index"; "score" with --similarity, "scale" with --scales.
std::vector<CliField> FieldsOf(const PictureMatch& found, const SearchGrab& grab, const CliRequest& request) {
    const bool several = request.pictures.size() > 1;
    const std::string number = std::to_string(found.index + 1);
    std::vector<CliField> fields{{"place", ScreenPoint{grab.area.left + found.place.x, grab.area.top + found.place.y},
                                  CliShown::kAsIs, several ? number + " " : ""}};
    if (several) fields.push_back({"index", CliNumber{number}});
    if (found.score) fields.push_back({"score", CliNumber{ScoreText(*found.score)}});
    if (!request.scales.empty()) fields.push_back({"scale", CliNumber{ShortestText(found.factor)}});
    return fields;
}
}  // namespace

std::variant<std::vector<Surface>, CliResult> ReadPictureFiles(const CliRequest& request, CliFiles& files) {
    std::vector<Surface> pictures;
    pictures.reserve(request.pictures.size());
    for (const std::string& path : request.pictures) {
        auto picture = ReadPictureFile(path, files);
        if (auto* refused = std::get_if<CliResult>(&picture)) return std::move(*refused);
        pictures.push_back(std::move(std::get<Surface>(picture)));
    }
    return pictures;
}

std::string PicturesNamed(const CliRequest& request) {
    std::string named = request.pictures.size() > 1 ? "pictures " : "picture ";
    for (std::size_t i = 0; i < request.pictures.size(); ++i)
        named += (i > 0 ? ", " : "") + QuotedInMessage(request.pictures[i]);
    return named;
}

CliResult FindPicturesAnswer(const CliRequest& request, CliServices& services, const std::vector<Surface>& pictures) {
    auto grab = GrabSearchArea(request, services);
    if (const auto* refused = std::get_if<CliResult>(&grab)) return *refused;
    const SearchGrab& grabbed = std::get<SearchGrab>(grab);
    FoundPlacesWriter writer(request, services);
    const PictureQuery query{request.tolerance, request.transparent, request.similarity,
                             request.scales,    request.minDistance, request.all};
    FindPictures(grabbed.pixels, pictures, query,
                 [&](const PictureMatch& found) { return writer.Add(FieldsOf(found, grabbed, request)); });
    return writer.Result(PicturesNamed(request));
}

}  // namespace pelmora
