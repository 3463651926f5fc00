// SPDX-License-Identifier: MIT
#include "cli/argument_values.h"

#include <array>

#include "base/number_text.h"

namespace pelmora {

std::optional<std::int32_t> ParseWholeArgument(std::string_view text, std::int64_t low, std::int64_t high) {
    const std::optional<std::int32_t> value = ParseStrictInteger(text);
    if (!value || ParseStrictNumber(text) != static_cast<double>(*value)) return std::nullopt;
    if (*value < low || *value > high) return std::nullopt;
    return value;
}

std::optional<Colour> ParseColourArgument(std::string_view text) {
    const bool web = text.starts_with('#');
    if (web) text.remove_prefix(1);
    if (text.size() != 6) return std::nullopt;
    const std::optional<std::uint32_t> value = ParseHexDigits(text);
    if (!value) return std::nullopt;
    if (!web) return static_cast<Colour>(*value);
    const std::uint32_t red = *value >> 16, green = (*value >> 8) & 0xFF, blue = *value & 0xFF;
    return static_cast<Colour>(blue << 16 | green << 8 | red);
}

std::optional<int> ParseToleranceArgument(std::string_view text) { return ParseWholeArgument(text, 0, 255); }

std::optional<ScreenRegion> ParseRegionArgument(std::string_view text) {
    std::array<std::int32_t, 4> numbers{};
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const std::size_t comma = text.find(',');
        if ((comma == std::string_view::npos) != (i == numbers.size() - 1)) return std::nullopt;
        const std::string_view part = text.substr(0, comma);
        const auto number = ParseWholeArgument(part, i < 2 ? kInt32Low : 1, kInt32High);
        if (!number) return std::nullopt;
        numbers[i] = *number;
        if (comma != std::string_view::npos) text.remove_prefix(comma + 1);
    }
    return ScreenRegion{numbers[0], numbers[1], numbers[2], numbers[3]};
}

std::optional<std::uint32_t> ParseFeatureCodeArgument(std::string_view text) {
    if (text.empty() || text.size() > 10) return std::nullopt;
    std::uint64_t value = 0;
    for (const char digit : text) {
        if (digit < '0' || digit > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(digit - '0');
    }
    if (value > INT32_MAX) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

}  // namespace pelmora
