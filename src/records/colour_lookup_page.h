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
    void Command1_Click();

    std::array<OptionButton, 2> Option1;
    TextBox 查10;  // hexadecimal code
    TextBox 查16;  // decimal value
    CommandButton Command1;
    Label 查颜色;
    TextBox 查10r, 查10g, 查10b;
    TextBox 查10h, 查10s, 查10l;
    std::array<Label, 8> 查标签;  // "16进制：", "10进制：", R, G, B, H, S, L

private:
    void LookUpHex();
    void LookUpDecimal();
    // Swatch, red, green, blue and hue, saturation, lightness of a colour and its ColorHex6 text.
    void ShowComponents(Colour colour, const std::string& hex6);
};

}  // namespace pelmora
