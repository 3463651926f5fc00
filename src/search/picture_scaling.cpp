// SPDX-License-Identifier: MIT
#include "search/picture_scaling.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/rounding.h"

namespace pelmora {

namespace {
// Sides beyond this are cut to it: no search wants a larger picture.
constexpr int kLargestSide = 1 << 16;

int NewSize(int size, double factor) {
    const double scaled = RoundHalfEven(size * factor);
    if (!(scaled >= 1)) return 1;
    return scaled > kLargestSide ? kLargestSide : static_cast<int>(scaled);
}

// How much of a new pixel one old pixel covers. On a line of `from` old pixels resized to
// `to` new ones, measured in units that make old pixel k the span [k * to, (k + 1) * to)
// and new pixel i the span [i * from, (i + 1) * from), every overlap is a whole number.
struct Share {
    int old = 0;
    std::int64_t length = 0;
};

std::vector<std::vector<Share>> Shares(int from, int to) {
    std::vector<std::vector<Share>> shares(static_cast<std::size_t>(to));
    for (int index = 0; index < to; ++index) {
        const std::int64_t start = static_cast<std::int64_t>(index) * from, end = start + from;
        for (std::int64_t old = start / to; old * to < end; ++old) {
            const std::int64_t overlap = std::min(end, (old + 1) * to) - std::max(start, old * to);
            shares[static_cast<std::size_t>(index)].push_back({static_cast<int>(old), overlap});
        }
    }
    return shares;
}

// Weighted sums of the opaque old pixels' channels, and the weight of those pixels.
struct Weighed {
    std::int64_t red = 0;
    std::int64_t green = 0;
    std::int64_t blue = 0;
    std::int64_t cover = 0;
    void Add(const Weighed& other, std::int64_t weight) {
        red += weight * other.red;
        green += weight * other.green;
        blue += weight * other.blue;
        cover += weight * other.cover;
    }
};

// The average of what total sums, halves rounded up.
int Average(std::int64_t sum, std::int64_t cover) { return static_cast<int>((2 * sum + cover) / (2 * cover)); }
}  // namespace

Surface ScaledPicture(const Surface& picture, double factor, std::optional<Colour> transparent) {
    const int oldWidth = picture.Width(), oldHeight = picture.Height();
    if (oldWidth == 0 || oldHeight == 0) return picture;
    const int width = NewSize(oldWidth, factor), height = NewSize(oldHeight, factor);
    if (width == oldWidth && height == oldHeight) return picture;
    const bool clears = transparent.has_value();
    const Colour clear = clears ? *transparent & 0xFFFFFF : 0;

    // Across each old row first, then down each new column: the weights multiply.
    const std::vector<std::vector<Share>> columns = Shares(oldWidth, width), rows = Shares(oldHeight, height);
    std::vector<Weighed> across(static_cast<std::size_t>(oldHeight) * width);
    for (int y = 0; y < oldHeight; ++y) {
        const std::int32_t* row = picture.Row(y);
        for (int x = 0; x < width; ++x) {
            Weighed& sums = across[static_cast<std::size_t>(y) * width + x];
            for (const Share& share : columns[static_cast<std::size_t>(x)]) {
                const Colour colour = row[share.old] & 0xFFFFFF;
                if (clears && colour == clear) continue;
                sums.Add({colour & 0xFF, colour >> 8 & 0xFF, colour >> 16 & 0xFF, 1}, share.length);
            }
        }
    }
    const std::int64_t square = static_cast<std::int64_t>(oldWidth) * oldHeight;  // a new pixel's, in these units
    Surface scaled(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Weighed sums;
            for (const Share& share : rows[static_cast<std::size_t>(y)])
                sums.Add(across[static_cast<std::size_t>(share.old) * width + x], share.length);
            if (clears && 2 * sums.cover < square) {
                scaled.SetPixel(x, y, clear);
                continue;
            }
            int blue = Average(sums.blue, sums.cover);
            const Colour colour = Average(sums.red, sums.cover) | Average(sums.green, sums.cover) << 8 | blue << 16;
            if (clears && colour == clear) blue += blue < 128 ? 1 : -1;
            scaled.SetPixel(x, y, (colour & 0xFFFF) | blue << 16);
        }
    return scaled;
}

}  // namespace pelmora
