// SPDX-License-Identifier: MIT
#include "cli/argument_values.h"

#include <algorithm>
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

namespace {
// text cut at each comma; an empty text is one empty part.
std::vector<std::string_view> CommaParts(std::string_view text) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t comma = text.find(',');
        parts.push_back(text.substr(0, comma));
        if (comma == std::string_view::npos) return parts;
        text.remove_prefix(comma + 1);
    }
}

template <class Value>
bool Repeats(std::vector<Value> values) {
    std::sort(values.begin(), values.end());
    return std::adjacent_find(values.begin(), values.end()) != values.end();
}
}  // namespace

std::optional<double> ParseDecimalArgument(std::string_view text) {
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    // Up to 15 digits make a whole number a double holds exactly, so the one division below
    // gives the double nearest the decimal ("0.667" prints back as 0.667).
    if (whole.size() + fraction.size() == 0 || whole.size() + fraction.size() > 15) return std::nullopt;
    std::int64_t digits = 0, scale = 1;
    for (const char digit : whole) {
        if (digit < '0' || digit > '9') return std::nullopt;
        digits = digits * 10 + (digit - '0');
    }
    for (const char digit : fraction) {
        if (digit < '0' || digit > '9') return std::nullopt;
        digits = digits * 10 + (digit - '0');
        scale *= 10;
    }
    return static_cast<double>(digits) / static_cast<double>(scale);
}

std::optional<double> ParseSimilarityArgument(std::string_view text) {
    const auto value = ParseDecimalArgument(text);
    if (!value || *value <= 0 || *value > 1) return std::nullopt;
    return value;
}

std::optional<std::vector<double>> ParseScalesArgument(std::string_view text) {
    std::vector<double> scales;
    for (const std::string_view part : CommaParts(text)) {
        const auto scale = ParseDecimalArgument(part);
        if (!scale || *scale < 0.25 || *scale > 4) return std::nullopt;
        scales.push_back(*scale);
    }
    if (Repeats(scales)) return std::nullopt;
    return scales;
}

std::optional<std::vector<int>> ParseSlotListArgument(std::string_view text) {
    std::vector<int> slots;
    for (const std::string_view part : CommaParts(text)) {
        const std::size_t dash = part.find('-');
        const auto first = ParseWholeArgument(part.substr(0, dash), 1, 10);
        const auto last = dash == std::string_view::npos ? first : ParseWholeArgument(part.substr(dash + 1), 1, 10);
        if (!first || !last || *last < *first) return std::nullopt;
        for (int slot = *first; slot <= *last; ++slot) slots.push_back(slot);
    }
    if (Repeats(slots)) return std::nullopt;
    return slots;
}

}  // namespace pelmora
