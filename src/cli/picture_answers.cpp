// SPDX-License-Identifier: MIT
#include "cli/picture_answers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <optional>
#include <utility>

#include "capture/bitmap_file_reading.h"
#include "cli/found_places.h"
#include "cli/shown_text.h"
#include "editor/image_files.h"
#include "search/picture_scaling.h"
#include "search/screen_search.h"
#include "search/similarity_search.h"

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

// The picture at one of the scales searched.
struct PictureAtScale {
    double factor = 1;
    Surface picture;
};

// The picture at every scale of --scales, in their order; itself alone without.
std::vector<PictureAtScale> AtEveryScale(const Surface& picture, const CliRequest& request) {
    if (request.scales.empty()) return {{1.0, picture}};
    std::vector<PictureAtScale> scaled;
    scaled.reserve(request.scales.size());
    for (const double factor : request.scales)
        scaled.push_back({factor, ScaledPicture(picture, factor, request.transparent)});
    return scaled;
}

// A place found, as the answer gives it.
struct PictureFound {
    std::size_t index = 0;  // of the picture, from 0
    ScreenPoint place;      // on the area
    double factor = 1;
    std::optional<double> score;
};

// Its fields: the place moved to the screen; with several pictures the picture's number
// (from 1) before it and in "index"; "score" with --similarity, "scale" with --scales.
std::vector<CliField> FieldsOf(const PictureFound& found, const SearchGrab& grab, const CliRequest& request) {
    const bool several = request.pictures.size() > 1;
    const std::string number = std::to_string(found.index + 1);
    std::vector<CliField> fields{{"place", ScreenPoint{grab.area.left + found.place.x, grab.area.top + found.place.y},
                                  CliShown::kAsIs, several ? number + " " : ""}};
    if (several) fields.push_back({"index", CliNumber{number}});
    if (found.score) fields.push_back({"score", CliNumber{ScoreText(*found.score)}});
    if (!request.scales.empty()) fields.push_back({"scale", CliNumber{ShortestText(found.factor)}});
    return fields;
}

SimilarityRule RuleOf(const CliRequest& request) {
    return {*request.similarity, request.tolerance, request.transparent};
}

bool Earlier(ScreenPoint a, ScreenPoint b) { return a.y != b.y ? a.y < b.y : a.x < b.x; }

// The picture's best place over every scale: the highest score, then the first in reading
// order, then the first scale.
std::optional<PictureFound> BestAtAnyScale(const Surface& area, std::size_t index,
                                           const std::vector<PictureAtScale>& scaled, const CliRequest& request) {
    std::optional<PictureFound> best;
    for (const PictureAtScale& at : scaled) {
        const auto found = BestSimilarPlace(area, at.picture, RuleOf(request));
        if (found && (!best || found->score > *best->score ||
                      (found->score == *best->score && Earlier(found->place, best->place))))
            best = PictureFound{index, found->place, at.factor, found->score};
    }
    return best;
}

// The places every scale finds (each the best within the minimum distance of itself), best
// first; a place within that distance of a better one another scale found is the same
// place seen at another size, and is left out.
std::vector<PictureFound> SimilarAtEveryScale(const Surface& area, std::size_t index,
                                              const std::vector<PictureAtScale>& scaled, const CliRequest& request) {
    struct Candidate {
        PictureFound found;
        std::int64_t distance = 0;
    };
    std::vector<Candidate> candidates;
    for (const PictureAtScale& at : scaled) {
        const int distance = request.minDistance.value_or(std::min(at.picture.Width(), at.picture.Height()) / 2);
        for (const ScoredPlace& place : SimilarPlaces(area, at.picture, RuleOf(request), distance))
            candidates.push_back({{index, place.place, at.factor, place.score}, distance});
    }
    std::stable_sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        if (*a.found.score != *b.found.score) return *a.found.score > *b.found.score;
        return Earlier(a.found.place, b.found.place);
    });
    std::vector<PictureFound> kept;
    for (const Candidate& candidate : candidates) {
        const auto near = [&](const PictureFound& better) {
            const std::int64_t dx = better.place.x - candidate.found.place.x,
                               dy = better.place.y - candidate.found.place.y;
            return better.factor != candidate.found.factor &&
                   dx * dx + dy * dy <= candidate.distance * candidate.distance;
        };
        if (std::none_of(kept.begin(), kept.end(), near)) kept.push_back(candidate.found);
    }
    return kept;
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
    const auto add = [&](const PictureFound& found) { return writer.Add(FieldsOf(found, grabbed, request)); };
    for (std::size_t index = 0; index < pictures.size(); ++index) {
        const std::vector<PictureAtScale> scaled = AtEveryScale(pictures[index], request);
        bool searching = true;
        if (!request.similarity) {
            for (const PictureAtScale& at : scaled) {
                FindPictureIn(grabbed.pixels, at.picture, request.tolerance, request.transparent,
                              [&](ScreenPoint place) {
                                  return searching = add({index, place, at.factor, std::nullopt});
                              });
                if (!searching) break;
            }
        } else if (!request.all) {
            if (const auto best = BestAtAnyScale(grabbed.pixels, index, scaled, request)) searching = add(*best);
        } else {
            for (const PictureFound& found : SimilarAtEveryScale(grabbed.pixels, index, scaled, request))
                if (!(searching = add(found))) break;
        }
        if (!searching) break;
    }
    return writer.Result(PicturesNamed(request));
}

}  // namespace pelmora
