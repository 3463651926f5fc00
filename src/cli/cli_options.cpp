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

constexpr std::array<CliOption, 11> kOptions{{
    {"--format", true, ReadFormat},
    {"--search", true, ReadSearch},
    {"--method", true, ReadMethod},
    {"--region", true, ReadRegion},
    {"--tolerance", true, ReadTolerance},
    {"--transparent", true, ReadTransparent},
    {"--all", false, ReadAll},
    {"--rect", true, ReadRect},
    {"--cursor", false, ReadCursor},
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
