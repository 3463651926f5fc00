// SPDX-License-Identifier: MIT
// Another program's window showing a picture of the test's making: its background is a
// pixmap drawn pixel by pixel, which the X server paints wherever the window shows, with
// no drawing by the client after that.
#pragma once

#include <cstdint>
#include <functional>

#include "managed_desktop.h"

namespace pelmora::testing {

// The colour value (0x00BBGGRR) at (x, y) of a picture.
using PictureColours = std::function<std::int32_t(int x, int y)>;

// Gives window the picture width x height as its background and repaints it; returns once
// the server has done so.
void ShowPicture(DesktopClient& client, XWindowId window, int width, int height, const PictureColours& colourAt);

// Repaints the whole window in one colour; returns once the server has done so.
void FillWindow(DesktopClient& client, XWindowId window, std::int32_t colour);

}  // namespace pelmora::testing
