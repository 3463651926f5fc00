// SPDX-License-Identifier: MIT
#include "cli/cli_options.h"

#include <array>
#include <utility>

#include "capture/screen_grab.h"
#include "cli/argument_values.h"
#include "cli/shown_text.h"

namespace pelmora {

namespace {
using Complaint = std::optional<std::string>;

std::string Got(const std::string& value) { return ", got " + QuotedInMessage(value); }

Complaint ReadFormat(const std::string& value, CliRequest& request) {
    constexpr std::array<std::pair<const char*, ColourFormat>, 5> kFormats{{{"hex", ColourFormat::Hex},
                                                                            {"dec", ColourFormat::Decimal},
                                                                            {"rgb", ColourFormat::Rgb},
                                                                            {"hsl", ColourFormat::Hsl},
                                                                            {"all", ColourFormat::All}}};
    for (const auto& format : kFormats)
        if (value == format.first) {
            request.format = format.second;
            return std::nullopt;
        }
    return "--format: wants dec, hex, rgb, hsl or all" + Got(value);
}

Complaint ReadSearch(const std::string& value, CliRequest& request) {
    request.search = value;
    return std::nullopt;
}

Complaint ReadMethod(const std::string& value, CliRequest& request) {
    const auto method = ParseWholeArgument(value, 0, 2);
    if (!method) return "--method: wants 0, 1 or 2" + Got(value);
    request.method = *method;
    return std::nullopt;
}

Complaint ReadRegion(const std::string& value, CliRequest& request) {
    request.region = ParseRegionArgument(value);
    if (!request.region) return "--region: wants L,T,W,H in screen pixels, width and height at least 1" + Got(value);
    return std::nullopt;
}

Complaint ReadTolerance(const std::string& value, CliRequest& request) {
    const auto tolerance = ParseToleranceArgument(value);
    if (!tolerance) return "--tolerance: wants a whole number from 0 to 255" + Got(value);
    request.tolerance = *tolerance;
    return std::nullopt;
}

Complaint ReadTransparent(const std::string& value, CliRequest& request) {
    request.transparent = ParseColourArgument(value);
    if (!request.transparent) return "--transparent: wants six hexadecimal digits (BGR) or #RRGGBB" + Got(value);
    return std::nullopt;
}

Complaint ReadAll(const std::string&, CliRequest& request) {
    request.all = true;
    return std::nullopt;
}

Complaint ReadRect(const std::string& value, CliRequest& request) {
    request.region = ParseRegionArgument(value);
    if (!request.region || request.region->width > kLargestPictureSide || request.region->height > kLargestPictureSide)
        return "--rect: wants L,T,W,H in screen pixels, width and height from 1 to " +
               std::to_string(kLargestPictureSide) + Got(value);
    return std::nullopt;
}

Complaint ReadWindow(const std::string& value, CliRequest& request) {
    request.window = ParseWholeArgument(value, kInt32Low, kInt32High);
    if (!request.window) return "--window: wants a window handle in decimal" + Got(value);
    return std::nullopt;
}

// Read after --window, which it stands instead of.
Complaint ReadTitle(const std::string& value, CliRequest& request) {
    if (request.window) return std::string("--title: picks the window instead of a handle, not beside one");
    if (value.empty()) return std::string("--title: wants a text the window's title holds, got \"\"");
    request.title = value;
    return std::nullopt;
}

// Read after --window and --title, one of which it goes with.
Complaint ReadClient(const std::string&, CliRequest& request) {
    if (!request.window && !request.title)
        return std::string("--client: only with a window (--window or --title), whose client area it means");
    request.client = true;
    return std::nullopt;
}

Complaint ReadStableFor(const std::string& value, CliRequest& request) {
    const auto stable = ParseWholeArgument(value, 1, kInt32High);
    if (!stable) return "--for: wants milliseconds, a whole number from 1" + Got(value);
    request.stableMs = static_cast<std::uint32_t>(*stable);
    return std::nullopt;
}

Complaint ReadCursor(const std::string&, CliRequest& request) {
    request.cursor = true;
    return std::nullopt;
}

Complaint ReadTimeout(const std::string& value, CliRequest& request) {
    const auto timeout = ParseWholeArgument(value, 0, kInt32High);
    if (!timeout) return "--timeout: wants milliseconds, a whole number from 0" + Got(value);
    request.timeoutMs = static_cast<std::uint32_t>(*timeout);
    return std::nullopt;
}

Complaint ReadInterval(const std::string& value, CliRequest& request) {
    const auto interval = ParseWholeArgument(value, 1, kInt32High);
    if (!interval) return "--interval: wants milliseconds, a whole number from 1" + Got(value);
    request.intervalMs = static_cast<std::uint32_t>(*interval);
    return std::nullopt;
}

Complaint ReadSimilarity(const std::string& value, CliRequest& request) {
    request.similarity = ParseSimilarityArgument(value);
    if (!request.similarity) return "--similarity: wants a decimal number above 0 and at most 1" + Got(value);
    return std::nullopt;
}

Complaint ReadScales(const std::string& value, CliRequest& request) {
    auto scales = ParseScalesArgument(value);
    if (!scales) return "--scales: wants factors from 0.25 to 4 between commas, none twice" + Got(value);
    request.scales = std::move(*scales);
    return std::nullopt;
}

// Read after --all and --similarity, which it goes with.
Complaint ReadMinDistance(const std::string& value, CliRequest& request) {
    if (!request.similarity || !request.all)
        return std::string("--min-distance: only with --similarity and --all, where it keeps the best place nearby");
    request.minDistance = ParseWholeArgument(value, 0, kInt32High);
    if (!request.minDistance) return "--min-distance: wants whole pixels, a number from 0" + Got(value);
    return std::nullopt;
}

Complaint ReadSlots(const std::string& value, CliRequest& request) {
    auto slots = ParseSlotListArgument(value);
    if (!slots) return "--slots: wants slot numbers from 1 to 10 and ranges (1,3-5), none twice" + Got(value);
    request.slots = std::move(*slots);
    return std::nullopt;
}

Complaint ReadSettingsFile(const std::string& value, CliRequest& request) {
    if (value.empty()) return std::string("--file: wants the settings file's path, got \"\"");
    request.settingsFile = value;
    return std::nullopt;
}

constexpr std::array<CliOption, 20> kOptions{{
    {"--format", true, ReadFormat},
    {"--search", true, ReadSearch},
    {"--method", true, ReadMethod},
    {"--region", true, ReadRegion},
    {"--tolerance", true, ReadTolerance},
    {"--transparent", true, ReadTransparent},
    {"--all", false, ReadAll},
    {"--similarity", true, ReadSimilarity},
    {"--scales", true, ReadScales},
    {"--min-distance", true, ReadMinDistance},
    {"--slots", true, ReadSlots},
    {"--file", true, ReadSettingsFile},
    {"--rect", true, ReadRect},
    {"--cursor", false, ReadCursor},
    {"--window", true, ReadWindow},
    {"--title", true, ReadTitle},
    {"--client", false, ReadClient},
    {"--for", true, ReadStableFor},
    {"--timeout", true, ReadTimeout},
    {"--interval", true, ReadInterval},
}};
}  // namespace

std::span<const CliOption> CliOptions() { return kOptions; }

const CliOption* FindCliOption(std::string_view name) {
    for (const CliOption& option : kOptions)
        if (option.name == name) return &option;
    return nullptr;
}

}  // namespace pelmora
