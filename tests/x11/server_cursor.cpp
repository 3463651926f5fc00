// SPDX-License-Identifier: MIT
#include "server_cursor.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <utility>

namespace pelmora::testing {

ServerCursor ReadServerCursor(Display* display) {
    XFixesCursorImage* image = XFixesGetCursorImage(display);
    if (!image) return {};
    ServerCursor cursor{image->width, image->height, image->xhot, image->yhot, image->x, image->y, {}};
    cursor.argb.assign(image->pixels, image->pixels + static_cast<std::ptrdiff_t>(image->width) * image->height);
    XFree(image);
    return cursor;
}

std::int32_t ColourValue(unsigned long argb) {
    return static_cast<std::int32_t>((argb >> 16 & 0xFF) | (argb & 0xFF00) | (argb & 0xFF) << 16);
}

namespace {
std::uint64_t Sample(const ServerCursor& cursor, int x, int y) {
    if (x > 15 || y > 15) return 0xFFFFFFFF;
    const int imageX = cursor.hotX + x, imageY = cursor.hotY + y;
    if (imageX >= cursor.width || imageY >= cursor.height) return 0;  // the bitmap's black
    return static_cast<std::uint64_t>(
        ColourValue(cursor.argb[static_cast<std::size_t>(imageY) * cursor.width + imageX]));
}
}  // namespace

std::uint32_t ExpectedCode(const ServerCursor& cursor, int method) {
    std::vector<std::pair<int, int>> points;
    if (method == 1) {
        for (int i = 1; i <= 16; ++i) points.emplace_back(i, i);
    } else if (method == 2) {
        for (int i = 9; i <= 16; ++i) points.emplace_back(i, i);
    } else {
        for (int i = 1; i <= 10; ++i) points.emplace_back(i / 2 + 1, i);
    }
    std::uint64_t accumulator = 0;
    for (std::size_t step = 1; step <= points.size(); ++step) {
        const std::uint64_t sum =
            (accumulator + Sample(cursor, points[step - 1].first, points[step - 1].second)) & 0xFFFFFFFF;
        accumulator = ((sum >> step) | (sum << (32 - step))) & 0xFFFFFFFF;
    }
    return static_cast<std::uint32_t>(accumulator & 0x7FFFFFFF);
}

}  // namespace pelmora::testing
