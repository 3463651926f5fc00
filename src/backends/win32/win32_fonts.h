// SPDX-License-Identifier: MIT
// The view's fonts at a scale. The layout was drawn for SimSun at 12 pixels: lines 12 pixels
// high and half-width characters 6 pixels wide, which its labels and fields hold with nothing
// to spare. SimSun is taken where the system has it; another face is made as large as fits
// those bounds at the scale.
#pragma once

#include <windows.h>

#include "platform/controls.h"
#include "backends/win32/win32_scale.h"

namespace pelmora {

class ViewFonts {
public:
    // No fonts: the windows keep the system's.
    ViewFonts() = default;
    // Fonts of the first installed face with the Chinese glyphs, SimSun first: for captions,
    // lists and tips, the largest whose cells (ascent and descent) are at most a line of 12
    // layout pixels high; for fields, the largest of those whose digits and hexadecimal
    // letters are also at most half a line wide, rounded up, as SimSun's are.
    explicit ViewFonts(LayoutScale scale);
    ~ViewFonts();
    ViewFonts(ViewFonts&& other) noexcept;
    ViewFonts& operator=(ViewFonts&& other) noexcept;

    HFONT Text() const { return text_; }
    // The font of a control's window: a text box's is the field font.
    HFONT Of(const Control& control) const { return control.Kind() == ControlKind::TextBox ? field_ : text_; }

private:
    void Release();

    HFONT text_ = nullptr;
    HFONT field_ = nullptr;
};

}  // namespace pelmora
