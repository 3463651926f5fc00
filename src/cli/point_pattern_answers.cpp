// SPDX-License-Identifier: MIT
#include "cli/point_pattern_answers.h"

#include <cstdint>
#include <optional>

#include "cli/cli_operands.h"
#include "cli/found_places.h"
#include "cli/shown_text.h"
#include "cli/stored_slots.h"
#include "sampling/colour_forms.h"

namespace pelmora {

namespace {
// b - a when it is a 32-bit number.
std::optional<int> Offset(std::int32_t a, std::int32_t b) {
    const std::int64_t offset = std::int64_t{b} - a;
    if (offset < INT32_MIN || offset > INT32_MAX) return std::nullopt;
    return static_cast<int>(offset);
}

std::variant<PointPattern, CliResult> PatternOfSlots(const CliRequest& request, CliFiles& files) {
    if (request.slots.size() < 2)
        return BadArguments("--slots: wants two slots at least, the first colour's and a point's, got slot " +
                            std::to_string(request.slots.front()) + " alone");
    auto stored = ReadStoredSlots(request, files);
    if (auto* refused = std::get_if<CliResult>(&stored)) return std::move(*refused);
    const StoredSlots& slots = std::get<StoredSlots>(stored);
    const auto slot = [&](int n) { return slots.slots[static_cast<std::size_t>(n - 1)]; };
    for (const int n : request.slots)
        if (!slot(n))
            return BadArguments("--slots: slot " + std::to_string(n) + " holds no point in " +
                                QuotedInMessage(slots.file));
    const SlotPoint first = *slot(request.slots.front());
    PointPattern pattern{first.colour, {}};
    for (std::size_t i = 1; i < request.slots.size(); ++i) {
        const SlotPoint point = *slot(request.slots[i]);
        const auto dx = Offset(first.point.x, point.point.x), dy = Offset(first.point.y, point.point.y);
        if (!dx || !dy)
            return BadArguments("--slots: slot " + std::to_string(request.slots[i]) +
                                " lies more than 2147483647 pixels from slot " + std::to_string(request.slots[0]));
        pattern.others.push_back({*dx, *dy, point.colour, false, std::nullopt});
    }
    return pattern;
}
}  // namespace

std::variant<PointPattern, CliResult> RequestedPattern(std::string_view command, const CliRequest& request,
                                                       CliFiles& files) {
    const std::string name(command);
    const bool operands = !request.pattern.others.empty();
    if (operands && !request.slots.empty())
        return BadArguments(name + ": --slots gives the pattern instead of COLOUR and the points; not both");
    if (operands) {
        if (request.settingsFile)
            return BadArguments(name + ": --file names the settings file of --slots; not without it");
        return request.pattern;
    }
    if (request.slots.empty())
        return BadArguments(name + ": wants COLOUR and DX,DY,COLOUR points at offsets from it, or --slots LIST");
    return PatternOfSlots(request, files);
}

CliResult FindPointsAnswer(const CliRequest& request, CliServices& services, const PointPattern& pattern) {
    return FoundPlacesAnswer(
        request, services,
        [&](const Surface& area, const FoundPlace& found) {
            FindPointsIn(area, pattern, request.tolerance, request.similarity, found);
        },
        PatternInMessage(pattern));
}

std::string PatternInMessage(const PointPattern& pattern) {
    const std::size_t points = pattern.others.size();
    return "pattern of " + ColourFormsOf(pattern.first).hex + " and " + std::to_string(points) +
           (points == 1 ? " point" : " points");
}

}  // namespace pelmora
