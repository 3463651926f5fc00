// SPDX-License-Identifier: MIT
// The readers of pelmora-cli's argument values: whole numbers, colours, tolerances,
// regions and feature codes, each strict (nothing before, after or between that does not
// belong) and each bounded.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/desktop.h"
#include "sampling/colour_model.h"

namespace pelmora {

inline constexpr std::int64_t kInt32Low = INT32_MIN;
inline constexpr std::int64_t kInt32High = INT32_MAX;

// A whole number within [low, high], with no fraction part.
std::optional<std::int32_t> ParseWholeArgument(std::string_view text, std::int64_t low, std::int64_t high);

// COLOUR: six hexadecimal digits in blue-green-red order ("0000FF" is red), or "#RRGGBB"
// in red-green-blue order; either case.
std::optional<Colour> ParseColourArgument(std::string_view text);
// A tolerance: a whole number from 0 to 255.
std::optional<int> ParseToleranceArgument(std::string_view text);
// A region "L,T,W,H": left and top any 32-bit number, width and height at least 1.
std::optional<ScreenRegion> ParseRegionArgument(std::string_view text);
// A feature code: decimal digits for a number from 0 to 2147483647, the codes there are.
std::optional<std::uint32_t> ParseFeatureCodeArgument(std::string_view text);

// A decimal number: digits with at most one point among or before them ("0.9", ".95",
// "1"); no sign, exponent or spaces.
std::optional<double> ParseDecimalArgument(std::string_view text);
// A similarity: a decimal number above 0 and at most 1.
std::optional<double> ParseSimilarityArgument(std::string_view text);
// Scales "F[,F...]": decimal numbers from 0.25 to 4, at least one, none twice.
std::optional<std::vector<double>> ParseScalesArgument(std::string_view text);
// Slots "N[,N-M...]": slot numbers from 1 to 10 and ranges of them, in the order given,
// none twice.
std::optional<std::vector<int>> ParseSlotListArgument(std::string_view text);

}  // namespace pelmora
