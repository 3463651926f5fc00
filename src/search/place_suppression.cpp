// SPDX-License-Identifier: MIT
#include "search/place_suppression.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <tuple>

namespace pelmora {

namespace {
// a is better than b: a higher score, or an equal one earlier in reading order.
bool Beats(const ScoredPlace& a, const ScoredPlace& b) {
    if (a.score != b.score) return a.score > b.score;
    return std::tie(a.place.y, a.place.x) < std::tie(b.place.y, b.place.x);
}
}  // namespace

// The places are taken best first, so each one is beaten exactly when one taken before it
// lies within the distance. Those taken are filed in square cells of the distance's side:
// the places within the distance of one lie in its cell and the eight around it.
std::vector<ScoredPlace> BestOfTheirNeighbourhoods(std::vector<ScoredPlace> places, int distance) {
    std::sort(places.begin(), places.end(), Beats);
    if (distance <= 0 || places.empty()) return places;
    int left = places.front().place.x, top = places.front().place.y, right = left, bottom = top;
    for (const ScoredPlace& place : places) {
        left = std::min(left, place.place.x);
        right = std::max(right, place.place.x);
        top = std::min(top, place.place.y);
        bottom = std::max(bottom, place.place.y);
    }
    const int columns = (right - left) / distance + 1, rows = (bottom - top) / distance + 1;
    std::vector<std::int32_t> firstInCell(static_cast<std::size_t>(columns) * rows, -1);
    std::vector<std::int32_t> nextInCell(places.size(), -1);
    const std::int64_t reach = static_cast<std::int64_t>(distance) * distance;
    std::vector<ScoredPlace> best;
    for (std::size_t index = 0; index < places.size(); ++index) {
        const ScreenPoint at = places[index].place;
        const int column = (at.x - left) / distance, row = (at.y - top) / distance;
        bool beaten = false;
        for (int r = std::max(row - 1, 0); r <= std::min(row + 1, rows - 1) && !beaten; ++r)
            for (int c = std::max(column - 1, 0); c <= std::min(column + 1, columns - 1) && !beaten; ++c)
                for (std::int32_t other = firstInCell[static_cast<std::size_t>(r) * columns + c]; other >= 0;
                     other = nextInCell[static_cast<std::size_t>(other)]) {
                    const ScreenPoint there = places[static_cast<std::size_t>(other)].place;
                    const std::int64_t dx = there.x - at.x, dy = there.y - at.y;
                    if (dx * dx + dy * dy <= reach) {
                        beaten = true;
                        break;
                    }
                }
        if (!beaten) best.push_back(places[index]);
        const auto cell = static_cast<std::size_t>(row) * columns + column;
        nextInCell[index] = firstInCell[cell];
        firstInCell[cell] = static_cast<std::int32_t>(index);
    }
    return best;
}

}  // namespace pelmora
