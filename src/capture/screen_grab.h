// SPDX-License-Identifier: MIT
// Mod_屏幕抓图到剪切板: a rectangle of the screen as a picture, with or without the cursor.
#pragma once

#include <optional>

#include "platform/desktop.h"
#include "platform/surface.h"

namespace pelmora {

// The largest picture side a grab makes.
inline constexpr int kLargestPictureSide = 16384;

// The screen rectangle whose top-left is (left, top) as a width x height picture, with the
// current cursor drawn in at its place when withCursor. What lies off the screen is black.
// No picture when width or height is not positive or over kLargestPictureSide, or when
// there is no memory for it.
std::optional<Surface> GrabScreenArea(Desktop& desktop, int left, int top, int width, int height, bool withCursor);

}  // namespace pelmora
