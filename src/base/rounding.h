// SPDX-License-Identifier: MIT
// Rounding and remainder with the conventions every value in this program follows:
// fractions round to the nearest integer with halves to the even neighbour, and the
// remainder keeps the sign of the dividend.
#pragma once

#include <cstdint>
#include <optional>

namespace pelmora {

// Nearest integer, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
double RoundHalfEven(double value);

// Remainder with the sign of the dividend (-3 mod 8 = -3).
constexpr std::int64_t ModKeepSign(std::int64_t dividend, std::int64_t divisor) {
    return dividend % divisor;  // C++ truncates towards zero, which is this rule
}

// A number rounded halves-to-even into a 16-bit or 32-bit integer; empty when the
// rounded value does not fit (the conversion overflows).
std::optional<std::int16_t> ToInt16(double value);
std::optional<std::int32_t> ToInt32(double value);

// A number rounded halves-to-even and held within the 16-bit or 32-bit range: a value
// beyond it gives the nearest end (NaN gives the lower end).
std::int16_t RoundClamped16(double value);
std::int32_t RoundClamped32(double value);

}  // namespace pelmora
