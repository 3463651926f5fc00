// SPDX-License-Identifier: MIT
#include "search/point_pattern.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace pelmora {

namespace {
// The colours near one colour, as a range of values for each of red, green and blue. A
// pixel is near when each of its channels, less the range's start, is at most the range's
// span (for a channel below the start the difference wraps round to a large number): the
// test of ColoursNear without a branch, so that the compiler tests runs of pixels with
// vector instructions.
class NearColours {
public:
    NearColours(Colour colour, int tolerance) {
        for (int channel = 0; channel < 3; ++channel) {
            const int value = colour >> (8 * channel) & 0xFF;
            low_[channel] = static_cast<std::uint32_t>(std::max(value - tolerance, 0));
            span_[channel] = static_cast<std::uint32_t>(std::min(value + tolerance, 255)) - low_[channel];
        }
    }
    bool Hold(std::int32_t pixel) const {
        const auto value = static_cast<std::uint32_t>(pixel);
        return ((value & 0xFF) - low_[0] <= span_[0]) + ((value >> 8 & 0xFF) - low_[1] <= span_[1]) +
                   ((value >> 16 & 0xFF) - low_[2] <= span_[2]) ==
               3;
    }

private:
    std::uint32_t low_[3], span_[3];
};

// One colour to test at an offset from a place (the first colour at offset 0).
struct Check {
    std::int64_t dx = 0, dy = 0;
    NearColours near;
    bool absent = false;    // holds where the pixel is not near, or off the area
    bool required = false;  // the first colour: never one of the misses allowed

    bool HoldsAt(const Surface& area, int x, int y) const {
        const std::int64_t px = x + dx, py = y + dy;
        if (px < 0 || py < 0 || px >= area.Width() || py >= area.Height()) return absent;
        return near.Hold(area.Row(static_cast<int>(py))[px]) != absent;
    }
};

// The first x from `from` up to `to` (excluded) where row[x] is near; `to` when none is.
// The pixels are tested sixteen at a time, which the compiler does with vector
// instructions, and only a run that holds a near one is gone through pixel by pixel. Near
// pixels come in areas, so the pixel at `from` is tested first on its own.
int NextNear(const std::int32_t* row, int from, int to, const NearColours& near) {
    if (from < to && near.Hold(row[from])) return from;
    constexpr int kRun = 16;
    for (; from + kRun <= to; from += kRun) {
        int nearOnes = 0;
        for (int i = 0; i < kRun; ++i) nearOnes += near.Hold(row[from + i]);
        if (nearOnes > 0) break;
    }
    for (; from < to; ++from)
        if (near.Hold(row[from])) return from;
    return to;
}

// How many pixels of every 32nd row of area are near: how common a colour is on the area,
// estimated in a 32nd of a pass. A pattern has few colours, so each is counted on its own,
// within its own tolerance, with no table of the area's colours to build.
std::size_t SampledCount(const Surface& area, const NearColours& near) {
    std::size_t count = 0;
    for (int y = 0; y < area.Height(); y += 32) {
        const std::int32_t* row = area.Row(y);
        for (int x = 0; x < area.Width(); ++x) count += near.Hold(row[x]);
    }
    return count;
}
}  // namespace

std::size_t AllowedMisses(double similarity, std::size_t count) {
    constexpr std::int64_t kWhole = 1'000'000'000;  // nine decimal places
    const std::int64_t kept = std::clamp<std::int64_t>(std::llround(similarity * kWhole), 0, kWhole);
    return static_cast<std::size_t>(static_cast<std::uint64_t>(kWhole - kept) * count / kWhole);
}

// The search visits the places where one colour of the pattern, the lead, is near, and
// tests the other points only there, stopping as soon as more of them miss than are
// allowed; the point that turned the last place down is tested first at the next. With no
// miss allowed every point that is not absent must be near, so the lead is the one whose
// colour is rarest on the area: a first colour that covers a third of the screen is then
// tested only where a rare colour lies at its offset. Places are still visited in the
// reading order of the first colour's pixel, since the lead lies at one offset from it.
// With misses allowed only the first colour must be near, and it leads.
void FindPointsIn(const Surface& area, const PointPattern& pattern, int tolerance, std::optional<double> similarity,
                  const FoundPlace& found) {
    const std::size_t allowed = similarity ? AllowedMisses(*similarity, pattern.others.size()) : 0;
    std::vector<Check> checks{{0, 0, NearColours(pattern.first, tolerance), false, true}};
    for (const PatternPoint& point : pattern.others)
        checks.push_back(
            {point.dx, point.dy, NearColours(point.colour, point.tolerance.value_or(tolerance)), point.absent, false});

    // The places where every point that must be near lies on the area.
    std::int64_t firstX = 0, firstY = 0, lastX = area.Width() - 1, lastY = area.Height() - 1;
    for (const Check& check : checks) {
        if (check.absent || (allowed > 0 && !check.required)) continue;
        firstX = std::max(firstX, -check.dx);
        firstY = std::max(firstY, -check.dy);
        lastX = std::min(lastX, area.Width() - 1 - check.dx);
        lastY = std::min(lastY, area.Height() - 1 - check.dy);
    }
    if (firstX > lastX || firstY > lastY) return;

    if (allowed == 0) {  // rarest first; absent points, which hold nearly everywhere, last
        std::vector<std::pair<std::size_t, Check>> ranked;
        ranked.reserve(checks.size());
        for (const Check& check : checks)
            ranked.emplace_back(check.absent ? SIZE_MAX : SampledCount(area, check.near), check);
        std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (std::size_t i = 0; i < ranked.size(); ++i) checks[i] = ranked[i].second;
    }
    const Check& lead = checks.front();
    std::vector<std::uint32_t> rest;  // the others' indices in checks, in the order they are tested
    for (std::uint32_t i = 1; i < checks.size(); ++i) rest.push_back(i);

    const int from = static_cast<int>(firstX + lead.dx), to = static_cast<int>(lastX + lead.dx) + 1;
    for (int y = static_cast<int>(firstY); y <= lastY; ++y) {
        const std::int32_t* leadRow = area.Row(static_cast<int>(y + lead.dy));
        for (int at = from; (at = NextNear(leadRow, at, to, lead.near)) < to; ++at) {
            const int x = static_cast<int>(at - lead.dx);
            std::size_t misses = 0;
            const auto turnedDown = std::find_if(rest.begin(), rest.end(), [&](std::uint32_t i) {
                return !checks[i].HoldsAt(area, x, y) && (checks[i].required || ++misses > allowed);
            });
            if (turnedDown != rest.end()) {
                std::rotate(rest.begin(), turnedDown, turnedDown + 1);
                continue;
            }
            if (!found({x, y})) return;
        }
    }
}

}  // namespace pelmora
