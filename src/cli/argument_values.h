// SPDX-License-Identifier: MIT
// The readers of pelmora-cli's argument values: whole numbers, colours, tolerances,
// regions and feature codes, each strict (nothing before, after or between that does not
// belong) and each bounded.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

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

}  // namespace pelmora
