// SPDX-License-Identifier: MIT
#include "cursor/cursor_drawing.h"

#include <algorithm>

namespace pelmora {

namespace {
// One channel of a premultiplied pixel over a destination channel: the pixel's value
// plus what shows through of the destination.
std::uint32_t BlendChannel(std::uint32_t source, std::uint32_t destination, std::uint32_t alpha) {
    return std::min<std::uint32_t>(255, source + (destination * (255 - alpha) + 127) / 255);
}

std::int32_t Blend(std::uint32_t pixel, std::int32_t destination) {
    const std::uint32_t alpha = pixel >> 24;
    if (alpha == 255) return static_cast<std::int32_t>(pixel & 0xFFFFFF);
    const auto under = static_cast<std::uint32_t>(destination);
    std::uint32_t blended = 0;
    for (int shift = 0; shift <= 16; shift += 8)
        blended |= BlendChannel((pixel >> shift) & 0xFF, (under >> shift) & 0xFF, alpha) << shift;
    return static_cast<std::int32_t>(blended);
}
}  // namespace

void DrawCursorImage(Surface& target, const CursorImage& image, int left, int top) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() < static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height))
        return;
    const int xFrom = std::max(0, -left);
    const int xTo = std::min(image.width, target.Width() - left);
    const int yFrom = std::max(0, -top);
    const int yTo = std::min(image.height, target.Height() - top);
    const std::size_t count = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    const bool anyInverting = image.inverts.size() >= count;
    for (int y = yFrom; y < yTo; ++y) {
        const std::size_t start = static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width);
        const std::uint32_t* source = image.pixels.data() + start;
        const std::uint8_t* inverting = anyInverting ? image.inverts.data() + start : nullptr;
        std::int32_t* row = target.Row(top + y) + left;
        for (int x = xFrom; x < xTo; ++x) {
            if (inverting && inverting[x]) row[x] ^= static_cast<std::int32_t>(source[x] & 0xFFFFFF);
            else if (source[x] != 0) row[x] = Blend(source[x], row[x]);  // 0: wholly transparent
        }
    }
}

void DrawCurrentCursor(Desktop& desktop, Surface& target, int originX, int originY) {
    const CurrentCursor cursor = desktop.ReadCursor();
    if (!cursor.known) return;
    DrawCursorImage(target, cursor.image, cursor.position.x - originX - cursor.image.hotX,
                    cursor.position.y - originY - cursor.image.hotY);
}

}  // namespace pelmora
