// SPDX-License-Identifier: MIT
// The fields that show one point and its colour in every text form: the get panel
// (prefix 得, filled by the live poll) and the custom-coordinate panel (prefix 自) share
// this layout and the order in which the fields are written.
#pragma once

#include <array>
#include <string>

#include "platform/controls.h"
#include "sampling/colour_model.h"

namespace pelmora {

class ColourReadout {
public:
    // Read-out: every field read-only, a caption beside the swatch. Typed point: x and y
    // are white input fields of four characters and the swatch's row is left for a button.
    enum class Kind { ReadOut, TypedPoint };

    // Places the fields into frame; their names are prefix + "x", "y", "颜色", "10", "16",
    // "16r", "16g", "16b", "10r", "10g", "10b", "10h", "10s", "10l". x, y and the hex field
    // end at 104, leaving room for the 15-pixel clipboard buttons beside them.
    void Place(ControlHost& host, Frame& frame, const std::string& prefix, Kind kind);

    // Writes swatch, hex, decimal, the hex components, the decimal components and hue,
    // saturation, lightness (ColourFormsOf), in that order. A negative colour shows a
    // black swatch.
    void ShowColour(Colour colour);

    TextBox x, y;                        // the point: prefix x, y
    Label swatch;                        // 颜色
    TextBox decimal, hex;                // 10, 16
    TextBox redHex, greenHex, blueHex;   // 16r, 16g, 16b
    TextBox red, green, blue;            // 10r, 10g, 10b
    TextBox hue, saturation, lightness;  // 10h, 10s, 10l
    std::array<Label, 13> captions;      // the texts beside the fields
    Label swatchCaption;                 // "颜色显示", in a read-out only
};

}  // namespace pelmora
