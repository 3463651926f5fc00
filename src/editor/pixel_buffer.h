// SPDX-License-Identifier: MIT
// Mod_像素获取输出: the editor's two whole-picture steps, each one pass over the picture's
// pixels: dimming (the half-bright copy colour select marks its picks on) and replacing
// colours (the fill tool and the confirm button).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/dialogs.h"
#include "platform/surface.h"

namespace pelmora {

// The error number an empty list of picked colours gives (the platform's "subscript out
// of range").
inline constexpr int kErrorNoPickedColours = 9;

// Halves the red, green and blue of every pixel of source, rounding halves to even (255
// becomes 128, 1 becomes 0, 3 becomes 2, 5 becomes 2), and writes the result into target
// at its top-left corner.
void DimPicture(const Surface& source, Surface& target);

// Gives colour to every pixel of source whose colour value is among pickedColours (matchFlag
// 0) or is not among them (matchFlag -1; any other flag changes no pixel), writes the
// result into target at its top-left corner and empties pickedColours. With no picked
// colours it shows "错误号:9:…" in a message box and changes neither target nor the list;
// the result tells whether the pixels were written.
bool RecolorPixels(const Surface& source, Surface& target, std::int32_t colour, std::int16_t matchFlag,
                   std::vector<std::int32_t>& pickedColours, Dialogs& dialogs);

}  // namespace pelmora
