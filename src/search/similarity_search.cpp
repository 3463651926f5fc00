// SPDX-License-Identifier: MIT
#include "search/similarity_search.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <system_error>
#include <thread>
#include <tuple>

#include "search/correlation_bounds.h"
#include "search/correlation_picture.h"
#include "search/place_suppression.h"
#include "search/screen_search.h"
#include "search/wide_integer.h"
#include "search/wide_vectors.h"

namespace pelmora {

namespace {
bool Fits(const Surface& area, const Surface& picture) {
    return picture.Width() > 0 && picture.Height() > 0 && picture.Width() <= area.Width() &&
           picture.Height() <= area.Height();
}

bool Before(ScreenPoint a, ScreenPoint b) { return std::tie(a.y, a.x) < std::tie(b.y, b.x); }

// The candidate beats the best so far: a higher score, or an equal one earlier in reading
// order.
bool Better(const ScoredPlace& candidate, const std::optional<ScoredPlace>& best) {
    return !best || candidate.score > best->score ||
           (candidate.score == best->score && Before(candidate.place, best->place));
}

// ---- Exact scores ------------------------------------------------------------------------

// Whole-number sums over a run of opaque pixels: the picture's channels times the area's,
// the area's squares and channels.
struct RunSums {
    std::int64_t products = 0;
    std::int64_t squares = 0;
    std::array<std::int64_t, 3> channels{0, 0, 0};
};

// Runs of up to this many pixels keep every sum within 32 bits (255 * 255 * 3 a pixel).
constexpr int kRunPiece = 8192;

PELMORA_WIDE_VECTORS void AddRun(const std::int32_t* under, const std::int32_t* over, int length, RunSums& sums) {
    for (int start = 0; start < length; start += kRunPiece) {
        const int end = std::min(length, start + kRunPiece);
        std::int32_t products = 0, squares = 0, red = 0, green = 0, blue = 0;
        for (int at = start; at < end; ++at) {
            const std::int32_t r = under[at] & 0xFF, g = under[at] >> 8 & 0xFF, b = under[at] >> 16 & 0xFF;
            products += (over[at] & 0xFF) * r + (over[at] >> 8 & 0xFF) * g + (over[at] >> 16 & 0xFF) * b;
            squares += r * r + g * g + b * b;
            red += r;
            green += g;
            blue += b;
        }
        sums.products += products;
        sums.squares += squares;
        sums.channels[0] += red;
        sums.channels[1] += green;
        sums.channels[2] += blue;
    }
}

// The score at (x, y), from whole-number sums over the opaque pixels combined exactly, so
// that equal windows get the same score to the last bit.
double ExactScore(const Surface& area, const CorrelationPicture& picture, int x, int y) {
    RunSums sums;
    const std::int32_t* pixels = picture.RunPixels().data();
    for (const OpaqueRun& run : picture.Runs()) {
        AddRun(area.Row(y + run.row) + x + run.left, pixels, run.right - run.left, sums);
        pixels += run.right - run.left;
    }
    const std::int64_t count = picture.OpaqueCount();
    WideInteger spread = WideInteger::Product(count, sums.squares);
    WideInteger numerator = WideInteger::Product(count, sums.products);
    for (std::size_t channel = 0; channel < 3; ++channel) {
        spread = spread - WideInteger::Product(sums.channels[channel], sums.channels[channel]);
        numerator = numerator - WideInteger::Product(picture.Sums()[channel], sums.channels[channel]);
    }
    if (spread == WideInteger()) return 0;  // a window of one colour
    const double score = numerator.ToDouble() / std::sqrt(picture.ScaledVariance().ToDouble() * spread.ToDouble());
    return std::clamp(score, -1.0, 1.0);
}

// ---- Pictures of one colour ----------------------------------------------------------------

// Every place's score for a picture of one colour: the share of its opaque pixels whose
// area pixel is near that colour, counted through sums over the area's near pixels and
// the picture's opaque pixels cut into rectangles (runs of equal columns in adjacent rows
// joined). take(place, score) gets them in reading order.
template <class Take>
void OneColourScores(const Surface& area, const CorrelationPicture& picture, int tolerance, Take take) {
    const int placesWide = area.Width() - picture.Width() + 1, placesHigh = area.Height() - picture.Height() + 1;
    if (picture.OpaqueCount() == 0) {
        for (int y = 0; y < placesHigh; ++y)
            for (int x = 0; x < placesWide; ++x) take(ScreenPoint{x, y}, 1.0);
        return;
    }
    std::vector<PictureBox> boxes;
    for (const OpaqueRun& run : picture.Runs()) {
        const auto above = std::find_if(boxes.begin(), boxes.end(), [&](const PictureBox& box) {
            return box.top + box.height == run.row && box.left == run.left && box.width == run.right - run.left;
        });
        if (above != boxes.end()) ++above->height;
        else boxes.push_back({run.left, run.row, run.right - run.left, 1});
    }
    // near[(y) * (width + 1) + x]: the near pixels above and to the left of (x, y).
    const int stride = area.Width() + 1;
    std::vector<std::int32_t> near(static_cast<std::size_t>(stride) * (area.Height() + 1), 0);
    const Colour colour = picture.FirstColour();
    for (int y = 0; y < area.Height(); ++y) {
        const std::int32_t* row = area.Row(y);
        std::int32_t* above = near.data() + static_cast<std::size_t>(y) * stride;
        std::int32_t* here = above + stride;
        std::int32_t inRow = 0;
        for (int x = 0; x < area.Width(); ++x) {
            inRow += ColoursNear(row[x], colour, tolerance) ? 1 : 0;
            here[x + 1] = above[x + 1] + inRow;
        }
    }
    const auto sumAt = [&](int x, int y) { return near[static_cast<std::size_t>(y) * stride + x]; };
    const double count = static_cast<double>(picture.OpaqueCount());
    for (int y = 0; y < placesHigh; ++y)
        for (int x = 0; x < placesWide; ++x) {
            std::int64_t matching = 0;
            for (const PictureBox& box : boxes) {
                const int left = x + box.left, top = y + box.top;
                const int right = left + box.width, bottom = top + box.height;
                matching += sumAt(right, bottom) - sumAt(left, bottom) - sumAt(right, top) + sumAt(left, top);
            }
            take(ScreenPoint{x, y}, static_cast<double>(matching) / count);
        }
}

// ---- Pictures of several colours -------------------------------------------------------------

// A place the bounds left in doubt, scored exactly once it has been.
struct Doubt {
    PlaceBound place;
    std::optional<double> score;
};

// Areas of at least this many places are bounded by two threads, each over half the rows:
// a few hundred microseconds to start one are well spent on a screen's two million places.
constexpr std::int64_t kPlacesForTwoThreads = 1 << 16;

// The places in rows [first, end) that may reach threshold, each with its bound; with best
// (the best place found so far), each row's most promising place is scored at once, and
// once it passes it raises the target for the rows below.
struct RowsInDoubt {
    std::vector<Doubt> doubts;
    std::optional<ScoredPlace> best;
};

RowsInDoubt PlacesInDoubtIn(const Surface& area, const CorrelationPicture& picture, double threshold, bool best,
                            int first, int end) {
    CorrelationBounds bounds(area, picture);
    std::vector<PlaceBound> row;
    RowsInDoubt found;
    double target = threshold;
    for (int y = first; y < end; ++y) {
        row.clear();
        bounds.BoundRow(y, target, row);
        if (row.empty()) continue;
        const std::size_t start = found.doubts.size();
        for (const PlaceBound& place : row) found.doubts.push_back({place, std::nullopt});
        if (!best) continue;
        Doubt& top = *std::max_element(found.doubts.begin() + static_cast<std::ptrdiff_t>(start), found.doubts.end(),
                                       [](const Doubt& a, const Doubt& b) { return a.place.bound < b.place.bound; });
        top.score = ExactScore(area, picture, top.place.x, top.place.y);
        const ScoredPlace scored{{top.place.x, top.place.y}, *top.score};
        if (scored.score >= threshold && Better(scored, found.best)) {
            found.best = scored;
            target = std::max(target, scored.score);
        }
    }
    return found;
}

// Every place of the area that may reach threshold, as above; large areas in two halves at
// once.
RowsInDoubt PlacesInDoubt(const Surface& area, const CorrelationPicture& picture, double threshold, bool best) {
    const int rows = area.Height() - picture.Height() + 1, columns = area.Width() - picture.Width() + 1;
    if (!(threshold > 0)) {
        // Such thresholds are met by windows the bounds leave out (one colour scores 0, and
        // a bound of N means less below 0): every place stays in doubt.
        RowsInDoubt every;
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < columns; ++x) every.doubts.push_back({{x, y, 1.0}, std::nullopt});
        return every;
    }
    if (static_cast<std::int64_t>(rows) * columns < kPlacesForTwoThreads || rows < 2)
        return PlacesInDoubtIn(area, picture, threshold, best, 0, rows);
    const int middle = rows / 2;
    RowsInDoubt lower;
    std::exception_ptr failure;
    std::thread helper;
    try {
        helper = std::thread([&] {
            try {
                lower = PlacesInDoubtIn(area, picture, threshold, best, middle, rows);
            } catch (...) {
                failure = std::current_exception();
            }
        });
    } catch (const std::system_error&) {  // no thread to be had: all in this one
        return PlacesInDoubtIn(area, picture, threshold, best, 0, rows);
    }
    RowsInDoubt upper;
    try {
        upper = PlacesInDoubtIn(area, picture, threshold, best, 0, middle);
    } catch (...) {
        helper.join();
        throw;
    }
    helper.join();
    if (failure) std::rethrow_exception(failure);
    upper.doubts.insert(upper.doubts.end(), lower.doubts.begin(), lower.doubts.end());
    if (lower.best && Better(*lower.best, upper.best)) upper.best = lower.best;
    return upper;
}
}  // namespace

std::optional<ScoredPlace> BestSimilarPlace(const Surface& area, const Surface& picture, const SimilarityRule& rule) {
    if (!Fits(area, picture)) return std::nullopt;
    const CorrelationPicture prepared(picture, rule.transparent);
    if (prepared.OneColour()) {
        std::optional<ScoredPlace> best;
        OneColourScores(area, prepared, rule.tolerance, [&](ScreenPoint place, double score) {
            if (score >= rule.threshold && (!best || score > best->score)) best = ScoredPlace{place, score};
        });
        return best;
    }
    RowsInDoubt inDoubt = PlacesInDoubt(area, prepared, rule.threshold, true);
    std::vector<Doubt>& doubts = inDoubt.doubts;
    std::optional<ScoredPlace>& best = inDoubt.best;
    // The highest bounds first (ties in reading order): once a bound lies below the best
    // score found, no place left can beat it.
    std::sort(doubts.begin(), doubts.end(), [](const Doubt& a, const Doubt& b) {
        if (a.place.bound != b.place.bound) return a.place.bound > b.place.bound;
        return std::tie(a.place.y, a.place.x) < std::tie(b.place.y, b.place.x);
    });
    for (const Doubt& doubt : doubts) {
        const ScreenPoint place{doubt.place.x, doubt.place.y};
        if (best && doubt.place.bound < best->score) break;
        // An equal score wins only earlier in reading order; a place already scored was
        // weighed then.
        if ((best && doubt.place.bound == best->score && !Before(place, best->place)) || doubt.score) continue;
        const ScoredPlace scored{place, ExactScore(area, prepared, place.x, place.y)};
        if (scored.score >= rule.threshold && Better(scored, best)) best = scored;
    }
    return best;
}

std::vector<ScoredPlace> SimilarPlaces(const Surface& area, const Surface& picture, const SimilarityRule& rule,
                                       int minDistance) {
    if (!Fits(area, picture)) return {};
    const CorrelationPicture prepared(picture, rule.transparent);
    std::vector<ScoredPlace> passing;
    if (prepared.OneColour()) {
        OneColourScores(area, prepared, rule.tolerance, [&](ScreenPoint place, double score) {
            if (score >= rule.threshold) passing.push_back({place, score});
        });
    } else {
        for (const Doubt& doubt : PlacesInDoubt(area, prepared, rule.threshold, false).doubts) {
            const double score = ExactScore(area, prepared, doubt.place.x, doubt.place.y);
            if (score >= rule.threshold) passing.push_back({{doubt.place.x, doubt.place.y}, score});
        }
    }
    return BestOfTheirNeighbourhoods(std::move(passing), minDistance);
}

}  // namespace pelmora
