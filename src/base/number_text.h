// SPDX-License-Identifier: MIT
// Numbers from and to text. One set of readers serves every field of the program:
// the lenient ParseLeadingNumber for free-typed fields, and strict readers that
// report failure for values that must be numbers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pelmora {

// Lenient read: blanks (space, tab, CR, LF) skipped, then an optional sign, digits with
// at most one decimal point and an optional exponent, up to the first character that
// does not fit. Text without a leading number gives 0. Never fails.
double ParseLeadingNumber(std::string_view text);

// Strict read of a decimal number: blanks around it are allowed, anything else must be
// part of the number. Empty or malformed text gives no value.
std::optional<double> ParseStrictNumber(std::string_view text);

// Strict decimal read rounded halves-to-even into a signed 32-bit integer; fails on
// malformed text and on overflow.
std::optional<std::int32_t> ParseStrictInteger(std::string_view text);

// One to eight hexadecimal digits, either case, no prefix, nothing else.
std::optional<std::uint32_t> ParseHexDigits(std::string_view text);

// A number as plain decimal text: integers without a fraction part, fractions with up
// to fifteen significant digits and no trailing zeros (90.5, -0.25).
std::string FormatPlainNumber(double value);

}  // namespace pelmora
