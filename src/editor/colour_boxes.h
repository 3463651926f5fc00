// SPDX-License-Identifier: MIT
// The editor's foreground and background colours: the boxes 前背景色 with six hexadecimal
// digits in blue-green-red order and the squares 前背景色块 that show them.
#pragma once

#include <array>
#include <cstdint>

#include "platform/controls.h"

namespace pelmora {

class ColourBoxes {
public:
    // The labels and boxes along the page's bottom edge; the squares in the tool column.
    void Place(ControlHost& host, Frame& page);

    // Colour box index changed: its square takes the colour; text that is no colour
    // becomes "0" (black).
    void 前背景色_Change(int index);

    // The colour of box index; black while its text cannot be read.
    std::int32_t Colour(int index) const;
    std::int32_t Foreground() const { return Colour(0); }  // the pencil's and the fill's colour
    std::int32_t Background() const { return Colour(1); }  // what confirm paints the other pixels

    std::array<TextBox, 2> 前背景色;       // the foreground and background colour as hex digits
    std::array<PictureBox, 2> 前背景色块;  // the squares showing the two colours
    std::array<Label, 2> 前背景色标签;     // "前景色", "背景色"
};

}  // namespace pelmora
