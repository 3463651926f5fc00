// SPDX-License-Identifier: MIT
#include "sampling/colour_forms.h"

#include "base/number_text.h"

namespace pelmora {

namespace {
// A two-digit hexadecimal component as a number and as decimal text.
int ComponentValue(const std::string& hexText) { return static_cast<int>(ParseHexDigits(hexText).value_or(0)); }
}  // namespace

ColourForms ColourFormsOf(Colour colour) {
    ColourForms forms;
    forms.decimal = ColorDecimal(colour);
    forms.hex = ColorHex6(colour);
    forms.redHex = RedHex(forms.hex);
    forms.greenHex = GreenHex(forms.hex);
    forms.blueHex = BlueHex(forms.hex);
    const int red = ComponentValue(forms.redHex);
    const int green = ComponentValue(forms.greenHex);
    const int blue = ComponentValue(forms.blueHex);
    forms.red = std::to_string(red);
    forms.green = std::to_string(green);
    forms.blue = std::to_string(blue);
    const HslColor hsl =
        RgbToHsl(static_cast<std::int16_t>(red), static_cast<std::int16_t>(green), static_cast<std::int16_t>(blue));
    forms.hue = std::to_string(hsl.hue);
    forms.saturation = std::to_string(hsl.saturation);
    forms.lightness = std::to_string(hsl.lightness);
    return forms;
}

}  // namespace pelmora
