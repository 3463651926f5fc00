// SPDX-License-Identifier: MIT
// The colour look-up page, Frame2(0) "查颜色代码的颜色": a colour code typed in
// hexadecimal (查10, blue-green-red digits as 得16 shows them) or in decimal (查16), shown as
// a swatch with its components.
#pragma once

#include <array>
#include <string>

#include "platform/controls.h"
#include "sampling/colour_model.h"

namespace pelmora {

class ColourLookupPage {
public:
    // The controls on page, with room for a clipboard button after each triple.
    void Place(ControlHost& host, Frame& page);

    // Which field takes the code: index 0 hexadecimal (查10), 1 decimal (查16).
    void Option1_Click(int index);
    // Looks the code up from the field Option1 chose: the other field, the swatch and the
    // components follow; a code that cannot be read changes nothing.
    void Command1_Click();

    std::array<OptionButton, 2> Option1;  // "16进制" (hexadecimal), "10进制" (decimal)
    TextBox 查10;                         // hexadecimal code
    TextBox 查16;                         // decimal value
    CommandButton Command1;               // "颜色显示": look the code up
    Label 查颜色;                         // the swatch of the colour
    TextBox 查10r, 查10g, 查10b;          // red, green, blue in decimal
    TextBox 查10h, 查10s, 查10l;          // hue, saturation, lightness, 0 to 240
    std::array<Label, 8> 查标签;          // "16进制：", "10进制：", R, G, B, H, S, L

private:
    // 查10 read as hexadecimal digits, padded to six; 查16 takes the value.
    void LookUpHex();
    // 查16 read as a decimal integer; 查10 takes its ColorHex6 text.
    void LookUpDecimal();
    // Swatch, red, green, blue and hue, saturation, lightness of a colour and its ColorHex6 text.
    void ShowComponents(Colour colour, const std::string& hex6);
};

}  // namespace pelmora
