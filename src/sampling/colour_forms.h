// SPDX-License-Identifier: MIT
// Every text form of one colour value, as the colour read-outs show them and as the
// command-line program prints them: computed in one place so both write the same
// characters.
#pragma once

#include <string>

#include "sampling/colour_model.h"

namespace pelmora {

// The captions beside the decimal and hexadecimal fields of a colour read-out.
inline constexpr const char* kDecimalCaption = "10进制：";
inline constexpr const char* kHexCaption = "16进制：";

struct ColourForms {
    std::string decimal;                     // "255"
    std::string hex;                         // ColorHex6: "0000FF"
    std::string redHex, greenHex, blueHex;   // "FF", "00", "00"
    std::string red, green, blue;            // "255", "0", "0"
    std::string hue, saturation, lightness;  // "0", "240", "120" (0..240)

    // "r,g,b" and "h,s,l" in decimal.
    std::string RgbTriple() const { return red + "," + green + "," + blue; }
    std::string HslTriple() const { return hue + "," + saturation + "," + lightness; }
};

// The forms of colour; each component is taken from the hexadecimal form, so -1 (no
// pixel) reads as FFFFFF in every component form while its decimal form stays "-1".
ColourForms ColourFormsOf(Colour colour);

}  // namespace pelmora
