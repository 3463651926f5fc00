// SPDX-License-Identifier: MIT
#include "capture/screen_grab.h"

#include <new>

#include "cursor/cursor_drawing.h"
#include "sampling/colour_model.h"

namespace pelmora {

std::optional<Surface> GrabScreenArea(Desktop& desktop, int left, int top, int width, int height, bool withCursor) {
    if (width <= 0 || height <= 0 || width > kLargestPictureSide || height > kLargestPictureSide) return std::nullopt;
    std::optional<Surface> picture;
    try {
        picture.emplace(width, height, kColourBlack);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    desktop.ReadArea(left, top, *picture);
    if (withCursor) DrawCurrentCursor(desktop, *picture, left, top);
    return picture;
}

}  // namespace pelmora
