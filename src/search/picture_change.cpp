// SPDX-License-Identifier: MIT
#include "search/picture_change.h"

#include <algorithm>
#include <cstring>

namespace pelmora {

namespace {
// Pixels compared together with memcmp before the one that differs is looked for.
constexpr int kBlock = 64;

bool Alike(const std::int32_t* a, const std::int32_t* b, int from, int to) {
    return std::memcmp(a + from, b + from, sizeof(std::int32_t) * static_cast<std::size_t>(to - from)) == 0;
}

// The first x in [from, to) where the rows differ, or to when they are alike there.
int FirstDifference(const std::int32_t* a, const std::int32_t* b, int from, int to) {
    for (int block = from; block < to; block += kBlock) {
        const int end = std::min(block + kBlock, to);
        if (Alike(a, b, block, end)) continue;
        for (int x = block; x < end; ++x)
            if (a[x] != b[x]) return x;
    }
    return to;
}

// The last x in [from, to) where the rows differ, or from - 1 when they are alike there.
int LastDifference(const std::int32_t* a, const std::int32_t* b, int from, int to) {
    for (int block = to; block > from; block -= kBlock) {
        const int start = std::max(block - kBlock, from);
        if (Alike(a, b, start, block)) continue;
        for (int x = block - 1; x >= start; --x)
            if (a[x] != b[x]) return x;
    }
    return from - 1;
}
}  // namespace

std::optional<ScreenRegion> ChangedRectangle(const Surface& before, const Surface& after) {
    const int width = after.Width(), height = after.Height();
    if (before.Width() != width || before.Height() != height) {
        if (width == 0 || height == 0) return std::nullopt;
        return ScreenRegion{0, 0, width, height};
    }
    int top = -1, bottom = -1, left = width, right = -1;
    for (int y = 0; y < height; ++y) {
        const std::int32_t* was = before.Row(y);
        const std::int32_t* is = after.Row(y);
        if (Alike(was, is, 0, width)) continue;
        if (top < 0) top = y;
        bottom = y;
        // The row differs somewhere: only columns outside [left, right] can widen the rectangle.
        left = FirstDifference(was, is, 0, left);
        right = std::max(right, LastDifference(was, is, right + 1, width));
    }
    if (top < 0) return std::nullopt;
    return ScreenRegion{left, top, right - left + 1, bottom - top + 1};
}

}  // namespace pelmora
