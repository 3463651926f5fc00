// SPDX-License-Identifier: MIT
#include "programs/screen_search.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <unordered_map>
#include <utility>

namespace pelmora {

namespace {
constexpr std::uint32_t kRgbMask = 0xFFFFFF;

// A picture pixel to compare: its offset from the corner and its colour.
struct PicturePixel {
    int x = 0;
    int y = 0;
    Colour colour = 0;
};

// A colour reduced to 5 bits a channel.
std::size_t CoarseBin(Colour colour) {
    const auto value = static_cast<std::uint32_t>(colour);
    return ((value >> 19) & 0x1F) << 10 | ((value >> 11) & 0x1F) << 5 | ((value >> 3) & 0x1F);
}

// How often each coarse colour occurs on every fourth row of the area: a cheap estimate of
// how common a colour is there, read in a fraction of one pass over the area.
std::vector<std::uint32_t> CoarseHistogram(const Surface& area) {
    std::vector<std::uint32_t> counts(std::size_t{1} << 15, 0);
    for (int y = 0; y < area.Height(); y += 4) {
        const std::int32_t* row = area.Row(y);
        for (int x = 0; x < area.Width(); ++x) ++counts[CoarseBin(row[x])];
    }
    return counts;
}

// The picture's pixels that must match, rarest on the area first (ties in reading order).
std::vector<PicturePixel> PixelsToCompare(const Surface& area, const Surface& picture,
                                          std::optional<Colour> transparent) {
    std::vector<PicturePixel> pixels;
    pixels.reserve(static_cast<std::size_t>(picture.Width()) * picture.Height());
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            const Colour colour = picture.Row(y)[x];
            if (transparent && ((colour ^ *transparent) & kRgbMask) == 0) continue;
            pixels.push_back({x, y, colour});
        }
    // Colours the coarse bins cannot tell apart (a flat grey and one pixel a step off it)
    // are told apart by how often each occurs in the picture itself.
    std::unordered_map<Colour, std::uint32_t> inPicture;
    for (const PicturePixel& pixel : pixels) ++inPicture[pixel.colour & static_cast<Colour>(kRgbMask)];
    const std::vector<std::uint32_t> onArea = CoarseHistogram(area);
    const auto rarity = [&](const PicturePixel& pixel) {
        return std::pair{onArea[CoarseBin(pixel.colour)], inPicture[pixel.colour & static_cast<Colour>(kRgbMask)]};
    };
    std::stable_sort(pixels.begin(), pixels.end(),
                     [&](const PicturePixel& a, const PicturePixel& b) { return rarity(a) < rarity(b); });
    return pixels;
}
}  // namespace

bool ColoursNear(Colour a, Colour b, int tolerance) {
    if (tolerance == 0) return ((a ^ b) & kRgbMask) == 0;
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs((a >> shift & 0xFF) - (b >> shift & 0xFF)) > tolerance) return false;
    return true;
}

std::vector<ScreenPoint> FindColourIn(const Surface& area, Colour colour, int tolerance, bool all) {
    std::vector<ScreenPoint> found;
    for (int y = 0; y < area.Height(); ++y) {
        const std::int32_t* row = area.Row(y);
        for (int x = 0; x < area.Width(); ++x) {
            if (!ColoursNear(row[x], colour, tolerance)) continue;
            found.push_back({x, y});
            if (!all) return found;
        }
    }
    return found;
}

// The search looks for one anchor pixel first and compares the whole picture only where
// the anchor matches. The anchor is the picture pixel whose colour is rarest on the area
// (estimated from a coarse histogram of every fourth row; among colours equally common
// there, the one rarest in the picture), so on a busy screen it matches
// at few places; the comparison there goes through the remaining pixels rarest first and
// stops at the first that differs. Unlike comparing the picture's rows from the top, this
// stays fast when the picture's first rows repeat all over the screen: the rare pixel
// lies elsewhere, and the common rows are compared only where it has matched. A sum or
// FFT-based matcher (as for squared differences) would cost the same on every screen and
// cannot express a per-channel tolerance or transparent pixels exactly.
std::vector<ScreenPoint> FindPictureIn(const Surface& area, const Surface& picture, int tolerance,
                                       std::optional<Colour> transparent, bool all) {
    std::vector<ScreenPoint> found;
    if (picture.Width() == 0 || picture.Height() == 0 || picture.Width() > area.Width() ||
        picture.Height() > area.Height())
        return found;
    const std::vector<PicturePixel> pixels = PixelsToCompare(area, picture, transparent);
    const PicturePixel anchor = pixels.empty() ? PicturePixel{} : pixels.front();
    const auto rest = pixels.empty() ? pixels.begin() : pixels.begin() + 1;  // after the anchor
    const int lastX = area.Width() - picture.Width(), lastY = area.Height() - picture.Height();
    for (int y = 0; y <= lastY; ++y) {
        const std::int32_t* anchorRow = area.Row(y + anchor.y) + anchor.x;
        for (int x = 0; x <= lastX; ++x) {
            if (!pixels.empty() && !ColoursNear(anchorRow[x], anchor.colour, tolerance)) continue;
            const bool match = std::all_of(rest, pixels.end(), [&](const PicturePixel& pixel) {
                return ColoursNear(area.Row(y + pixel.y)[x + pixel.x], pixel.colour, tolerance);
            });
            if (!match) continue;
            found.push_back({x, y});
            if (!all) return found;
        }
    }
    return found;
}

}  // namespace pelmora
