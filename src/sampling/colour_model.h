// SPDX-License-Identifier: MIT
// Mod_颜色转换 and the colour text forms: every colour the program shows, stores or
// copies is one colour value (0x00BBGGRR, -1 when no pixel could be read) and the text
// forms derived here, so that every field produces exactly the same characters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pelmora {

// A colour value: 0x00BBGGRR (red in the low byte), 0 to 16777215, or kColourNoPixel.
using Colour = std::int32_t;

constexpr Colour kColourRed = 255;
constexpr Colour kColourGreen = 65280;
constexpr Colour kColourBlue = 16711680;
constexpr Colour kColourWhite = 16777215;
constexpr Colour kColourBlack = 0;
constexpr Colour kColourReadOnlyGrey = 14803425;  // E1E1E1: locked fields
constexpr Colour kColourNoPixel = -1;             // no pixel could be read there

// Hue, saturation and lightness, each on a 0..240 scale.
struct HslColor {
    std::int16_t hue;
    std::int16_t saturation;
    std::int16_t lightness;
    friend bool operator==(const HslColor&, const HslColor&) = default;
};

// The larger and the smaller of two 32-bit floats, as RgbToHsl compares its components.
float MaxSingle(float a, float b);
float MinSingle(float a, float b);

// Hue, saturation and lightness on a 0..240 scale; 32-bit float intermediates, results
// rounded halves-to-even. Greys get hue 160.
HslColor RgbToHsl(std::int16_t red, std::int16_t green, std::int16_t blue);

// Decimal form: "255", "-1".
std::string ColorDecimal(Colour colour);

// Six upper-case hexadecimal digits in blue-green-red order: 255 -> "0000FF",
// -1 -> "FFFFFF" (the last six of eight F's).
std::string ColorHex6(Colour colour);

// The two-digit components of a ColorHex6 text: red is the last two characters, green
// characters 3 and 4, blue the first two.
std::string RedHex(std::string_view hex6);
std::string GreenHex(std::string_view hex6);
std::string BlueHex(std::string_view hex6);

}  // namespace pelmora
