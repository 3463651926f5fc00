// SPDX-License-Identifier: MIT
#include "editor/pixel_buffer.h"

#include <algorithm>
#include <array>
#include <string>

#include "base/rounding.h"

namespace pelmora {

namespace {
constexpr std::uint32_t kColourBits = 0xFFFFFF;

// What each channel value becomes when halved, halves to even.
std::array<std::uint32_t, 256> HalvedChannels() {
    std::array<std::uint32_t, 256> halved{};
    for (std::uint32_t v = 0; v < 256; ++v) halved[v] = static_cast<std::uint32_t>(RoundHalfEven(v * 0.5));
    return halved;
}
}  // namespace

void DimPicture(const Surface& source, Surface& target) {
    static const std::array<std::uint32_t, 256> halved = HalvedChannels();
    Surface dimmed(source.Width(), source.Height());
    for (int y = 0; y < source.Height(); ++y) {
        const std::int32_t* from = source.Row(y);
        std::int32_t* to = dimmed.Row(y);
        for (int x = 0; x < source.Width(); ++x) {
            const auto c = static_cast<std::uint32_t>(from[x]);
            to[x] =
                static_cast<std::int32_t>(halved[c & 0xFF] | halved[c >> 8 & 0xFF] << 8 | halved[c >> 16 & 0xFF] << 16);
        }
    }
    target.BitBlt(0, 0, dimmed.Width(), dimmed.Height(), dimmed, 0, 0);
}

bool RecolorPixels(const Surface& source, Surface& target, std::int32_t colour, std::int16_t matchFlag,
                   std::vector<std::int32_t>& pickedColours, Dialogs& dialogs) {
    if (pickedColours.empty()) {
        dialogs.ShowMessage("错误号:" + std::to_string(kErrorNoPickedColours) + ":下标越界");
        return false;
    }
    const std::int32_t newColour = static_cast<std::int32_t>(static_cast<std::uint32_t>(colour) & kColourBits);
    Surface recoloured(source.Width(), source.Height());
    // Neighbouring pixels mostly share a colour: the scan's answer for the last colour seen
    // is kept, which gives the same result as scanning again.
    std::int32_t lastColour = -1;
    bool lastChanges = false;
    for (int y = 0; y < source.Height(); ++y) {
        const std::int32_t* from = source.Row(y);
        std::int32_t* to = recoloured.Row(y);
        for (int x = 0; x < source.Width(); ++x) {
            const auto c = static_cast<std::int32_t>(static_cast<std::uint32_t>(from[x]) & kColourBits);
            if (c != lastColour) {
                const bool found = std::find(pickedColours.begin(), pickedColours.end(), c) != pickedColours.end();
                lastColour = c;
                lastChanges = (found ? 0 : -1) == matchFlag;
            }
            to[x] = lastChanges ? newColour : c;
        }
    }
    target.BitBlt(0, 0, recoloured.Width(), recoloured.Height(), recoloured, 0, 0);
    pickedColours.clear();
    return true;
}

}  // namespace pelmora
