// SPDX-License-Identifier: MIT
#include "search/screen_search.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <unordered_map>
#include <utility>
#include <vector>

namespace pelmora {

namespace {
constexpr std::uint32_t kRgbMask = 0xFFFFFF;

// Each channel of a and b differs by at most tolerance.
bool ChannelsWithin(Colour a, Colour b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs((a >> shift & 0xFF) - (b >> shift & 0xFF)) > tolerance) return false;
    return true;
}

// ---- How common a colour is on the area ------------------------------------------------

// Colours reduced to 5 bits a channel: 32 steps of red, green and blue.
constexpr int kSteps = 32;
int Step(Colour colour, int shift) { return (colour >> shift & 0xFF) >> 3; }

// How many pixels of every fourth row of the area (a cheap estimate of the whole, read in a
// fraction of one pass) fall into each box of coarse colours, kept as sums from the
// darkest corner so that any box's count takes eight look-ups: with a tolerance, a colour
// matches the area's pixels of the whole box of steps its tolerance spans.
class CoarseCounts {
public:
    explicit CoarseCounts(const Surface& area) : sums_(static_cast<std::size_t>(kSide * kSide * kSide), 0) {
        for (int y = 0; y < area.Height(); y += 4) {
            const std::int32_t* row = area.Row(y);
            for (int x = 0; x < area.Width(); ++x)
                ++sums_[Index(Step(row[x], 0) + 1, Step(row[x], 8) + 1, Step(row[x], 16) + 1)];
        }
        for (int r = 1; r < kSide; ++r)
            for (int g = 1; g < kSide; ++g)
                for (int b = 1; b < kSide; ++b)
                    sums_[Index(r, g, b)] += sums_[Index(r - 1, g, b)] + sums_[Index(r, g - 1, b)] +
                                             sums_[Index(r, g, b - 1)] - sums_[Index(r - 1, g - 1, b)] -
                                             sums_[Index(r - 1, g, b - 1)] - sums_[Index(r, g - 1, b - 1)] +
                                             sums_[Index(r - 1, g - 1, b - 1)];
    }

    // The pixels counted whose colour may lie within tolerance of colour: those in the box
    // from the steps of colour - tolerance to the steps of colour + tolerance.
    std::uint32_t Near(Colour colour, int tolerance) const {
        // The sum at (r, g, b) counts the pixels whose steps lie below r, g and b.
        int low[3], high[3];  // the box's first steps, and the steps just past its last
        for (int channel = 0; channel < 3; ++channel) {
            const int value = colour >> (8 * channel) & 0xFF;
            low[channel] = std::max(value - tolerance, 0) >> 3;
            high[channel] = (std::min(value + tolerance, 255) >> 3) + 1;
        }
        const auto at = [&](int r, int g, int b) { return static_cast<std::int64_t>(sums_[Index(r, g, b)]); };
        const auto [r0, g0, b0] = low;
        const auto [r1, g1, b1] = high;
        return static_cast<std::uint32_t>(at(r1, g1, b1) - at(r0, g1, b1) - at(r1, g0, b1) - at(r1, g1, b0) +
                                          at(r0, g0, b1) + at(r0, g1, b0) + at(r1, g0, b0) - at(r0, g0, b0));
    }

private:
    static constexpr int kSide = kSteps + 1;  // a row of zeros before each channel's first step
    static std::size_t Index(int r, int g, int b) {
        return (static_cast<std::size_t>(r) * kSide + static_cast<std::size_t>(g)) * kSide +
               static_cast<std::size_t>(b);
    }
    std::vector<std::uint32_t> sums_;
};

// ---- The picture's pixels in the order they are compared ------------------------------

// A picture pixel to compare: where it lies in the area's buffer from the corner's pixel,
// and its colour.
struct PicturePixel {
    std::ptrdiff_t offset = 0;
    Colour colour = 0;
};

// The picture's pixels that must match, rarest on the area first (ties in reading order).
std::vector<PicturePixel> PixelsToCompare(const Surface& area, const Surface& picture, int tolerance,
                                          std::optional<Colour> transparent) {
    struct Ranked {
        PicturePixel pixel;
        std::pair<std::uint32_t, std::uint32_t> rarity;  // on the area, then in the picture
    };
    std::vector<Ranked> ranked;
    ranked.reserve(static_cast<std::size_t>(picture.Width()) * picture.Height());
    std::unordered_map<Colour, std::uint32_t> inPicture;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            const Colour colour = picture.Row(y)[x] & static_cast<Colour>(kRgbMask);
            if (transparent && ((colour ^ *transparent) & kRgbMask) == 0) continue;
            ranked.push_back({{area.Row(y) + x - area.Row(0), colour}, {}});
            ++inPicture[colour];
        }
    // Colours the coarse steps cannot tell apart (a flat grey and one pixel a step off it)
    // are told apart by how often each occurs in the picture itself.
    const CoarseCounts onArea(area);
    for (Ranked& entry : ranked)
        entry.rarity = {onArea.Near(entry.pixel.colour, tolerance), inPicture[entry.pixel.colour]};
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const Ranked& a, const Ranked& b) { return a.rarity < b.rarity; });
    std::vector<PicturePixel> pixels;
    pixels.reserve(ranked.size());
    for (const Ranked& entry : ranked) pixels.push_back(entry.pixel);
    return pixels;
}

// The corners up to (lastX, lastY) where every one of pixels matches (near tells whether
// an area pixel matches a picture colour): the first, or all. pixels[0] is the anchor; the
// rest are compared only where it matches, and the order they are compared in learns:
// the pixel that told the last corner apart moves to the front. On a screen where the
// picture's first rows repeat everywhere and only its last row differs, that pixel is one
// of the last row's, and every corner after the first is told apart with one comparison
// after the anchor instead of a thousand.
template <class Near>
void MatchingCorners(const Surface& area, int lastX, int lastY, std::vector<PicturePixel> pixels, Near near,
                     const FoundPlace& found) {
    if (pixels.empty()) {  // nothing but transparent pixels: every corner matches
        for (int y = 0; y <= lastY; ++y)
            for (int x = 0; x <= lastX; ++x)
                if (!found({x, y})) return;
        return;
    }
    const PicturePixel anchor = pixels.front();
    pixels.erase(pixels.begin());
    for (int y = 0; y <= lastY; ++y) {
        const std::int32_t* row = area.Row(y);
        for (int x = 0; x <= lastX; ++x) {
            const std::int32_t* corner = row + x;
            if (!near(corner[anchor.offset], anchor.colour)) continue;
            const auto differing = std::find_if(pixels.begin(), pixels.end(), [&](const PicturePixel& pixel) {
                return !near(corner[pixel.offset], pixel.colour);
            });
            if (differing != pixels.end()) {
                std::rotate(pixels.begin(), differing, differing + 1);
                continue;
            }
            if (!found({x, y})) return;
        }
    }
}
}  // namespace

bool ColoursNear(Colour a, Colour b, int tolerance) {
    if (tolerance == 0) return ((a ^ b) & kRgbMask) == 0;
    return ChannelsWithin(a, b, tolerance);
}

void FindColourIn(const Surface& area, Colour colour, int tolerance, const FoundPlace& found) {
    for (int y = 0; y < area.Height(); ++y) {
        const std::int32_t* row = area.Row(y);
        for (int x = 0; x < area.Width(); ++x)
            if (ColoursNear(row[x], colour, tolerance) && !found({x, y})) return;
    }
}

// The search looks for one anchor pixel first and compares the whole picture only where
// the anchor matches. The anchor is the picture pixel whose colour is rarest on the area
// (estimated from coarse counts of every fourth row, over the colours its tolerance takes
// in; among colours equally common there, the one rarest in the picture), so on a busy
// screen it matches at few places; the comparison there goes through the remaining pixels
// rarest first, the one that last told a corner apart before them, and stops at the
// first that differs. Unlike comparing the picture's rows from the top, this stays fast
// when the picture's first rows repeat all over the screen: where the rare pixel lies
// elsewhere, the common rows are compared only where it has matched; where every colour
// is as common as the next, the pixel that tells the places apart is learnt at the first
// of them. A sum or FFT-based matcher (as for squared differences) would cost the same on
// every screen and cannot express a per-channel tolerance or transparent pixels exactly.
void FindPictureIn(const Surface& area, const Surface& picture, int tolerance, std::optional<Colour> transparent,
                   const FoundPlace& found) {
    if (picture.Width() == 0 || picture.Height() == 0 || picture.Width() > area.Width() ||
        picture.Height() > area.Height())
        return;
    std::vector<PicturePixel> pixels = PixelsToCompare(area, picture, tolerance, transparent);
    const int lastX = area.Width() - picture.Width(), lastY = area.Height() - picture.Height();
    if (tolerance == 0)
        return MatchingCorners(
            area, lastX, lastY, std::move(pixels),
            [](Colour got, Colour want) { return ((got ^ want) & kRgbMask) == 0; }, found);
    MatchingCorners(
        area, lastX, lastY, std::move(pixels),
        [tolerance](Colour got, Colour want) { return ChannelsWithin(got, want, tolerance); }, found);
}

}  // namespace pelmora
