// SPDX-License-Identifier: MIT
#include "search/picture_matches.h"

#include <algorithm>
#include <cstdint>

#include "search/picture_scaling.h"
#include "search/screen_search.h"
#include "search/similarity_search.h"

namespace pelmora {

namespace {
// The picture at one of the scales searched.
struct PictureAtScale {
    double factor = 1;
    Surface picture;
};

// The picture at every scale of the query, in their order; itself alone without.
std::vector<PictureAtScale> AtEveryScale(const Surface& picture, const PictureQuery& query) {
    if (query.scales.empty()) return {{1.0, picture}};
    std::vector<PictureAtScale> scaled;
    scaled.reserve(query.scales.size());
    for (const double factor : query.scales)
        scaled.push_back({factor, ScaledPicture(picture, factor, query.transparent)});
    return scaled;
}

SimilarityRule RuleOf(const PictureQuery& query) { return {*query.similarity, query.tolerance, query.transparent}; }

bool Earlier(ScreenPoint a, ScreenPoint b) { return a.y != b.y ? a.y < b.y : a.x < b.x; }

// The picture's best place over every scale: the highest score, then the first in reading
// order, then the first scale.
std::optional<PictureMatch> BestAtAnyScale(const Surface& area, std::size_t index,
                                           const std::vector<PictureAtScale>& scaled, const PictureQuery& query) {
    std::optional<PictureMatch> best;
    for (const PictureAtScale& at : scaled) {
        const auto found = BestSimilarPlace(area, at.picture, RuleOf(query));
        if (found && (!best || found->score > *best->score ||
                      (found->score == *best->score && Earlier(found->place, best->place))))
            best = PictureMatch{index, found->place, at.factor, found->score};
    }
    return best;
}

// The places every scale finds (each the best within the minimum distance of itself), best
// first; a place within that distance of a better one another scale found is the same
// place seen at another size, and is left out.
std::vector<PictureMatch> SimilarAtEveryScale(const Surface& area, std::size_t index,
                                              const std::vector<PictureAtScale>& scaled, const PictureQuery& query) {
    struct Candidate {
        PictureMatch found;
        std::int64_t distance = 0;
    };
    std::vector<Candidate> candidates;
    for (const PictureAtScale& at : scaled) {
        const int distance = query.minDistance.value_or(std::min(at.picture.Width(), at.picture.Height()) / 2);
        for (const ScoredPlace& place : SimilarPlaces(area, at.picture, RuleOf(query), distance))
            candidates.push_back({{index, place.place, at.factor, place.score}, distance});
    }
    std::stable_sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        if (*a.found.score != *b.found.score) return *a.found.score > *b.found.score;
        return Earlier(a.found.place, b.found.place);
    });
    std::vector<PictureMatch> kept;
    for (const Candidate& candidate : candidates) {
        const auto near = [&](const PictureMatch& better) {
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

void FindPictures(const Surface& area, const std::vector<Surface>& pictures, const PictureQuery& query,
                  const std::function<bool(const PictureMatch&)>& found) {
    for (std::size_t index = 0; index < pictures.size(); ++index) {
        const std::vector<PictureAtScale> scaled = AtEveryScale(pictures[index], query);
        bool searching = true;
        if (!query.similarity) {
            for (const PictureAtScale& at : scaled) {
                FindPictureIn(area, at.picture, query.tolerance, query.transparent, [&](ScreenPoint place) {
                    return searching = found({index, place, at.factor, std::nullopt});
                });
                if (!searching) break;
            }
        } else if (!query.all) {
            if (const auto best = BestAtAnyScale(area, index, scaled, query)) searching = found(*best);
        } else {
            for (const PictureMatch& match : SimilarAtEveryScale(area, index, scaled, query))
                if (!(searching = found(match))) break;
        }
        if (!searching) return;
    }
}

}  // namespace pelmora
