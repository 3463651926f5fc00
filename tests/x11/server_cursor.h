// SPDX-License-Identifier: MIT
// The current cursor as the X server shows it to any client, and the feature code worked
// out from it here, pixel by pixel, apart from the program's own code path.
#pragma once

#include <cstdint>
#include <vector>

using Display = struct _XDisplay;  // NOLINT(bugprone-reserved-identifier): Xlib's own name

namespace pelmora::testing {

struct ServerCursor {
    int width = 0, height = 0, hotX = 0, hotY = 0, x = 0, y = 0;
    std::vector<unsigned long> argb;  // premultiplied 0xAARRGGBB, rows from the top
};

// The image XFixes gives display now; width 0 when it gives none.
ServerCursor ReadServerCursor(Display* display);

// The pixel's colour as a colour value 0x00BBGGRR.
std::int32_t ColourValue(unsigned long argb);

// The code of cursor by method (1, 2, or the default for anything else): the samples
// right of and below the hot spot in a black 16 x 16 bitmap (FFFFFFFF outside it), each
// added and the sum rotated right by its step number, the top bit cleared at the end.
std::uint32_t ExpectedCode(const ServerCursor& cursor, int method);

}  // namespace pelmora::testing
