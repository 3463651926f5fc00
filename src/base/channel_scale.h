// SPDX-License-Identifier: MIT
// One colour channel of a packed pixel value (a screen's visual, a bit-field bitmap): the
// bits that hold it, and its level widened or narrowed to 8 bits as level * 255 / largest
// level rounded to the nearest integer (never exactly half way, as the largest level 2^n - 1
// is odd). Cutting the fraction instead would read a 10-bit 72, drawn as 18, as 17.
#pragma once

#include <cstdint>
#include <vector>

namespace pelmora {

class ChannelScale {
public:
    // No bits: the channel reads as 0.
    ChannelScale() = default;
    // mask must be one run of set bits, or 0 (the channel reads as 0).
    explicit ChannelScale(std::uint32_t mask);

    // The channel's 8-bit value in pixel.
    std::uint32_t Of(std::uint32_t pixel) const {
        const std::uint32_t level = (pixel & mask_) >> shift_;
        return scaled_.empty() ? Scale(level) : scaled_[level];
    }

private:
    std::uint32_t Scale(std::uint32_t level) const;

    std::uint32_t mask_ = 0;
    int shift_ = 0;
    std::uint32_t largest_ = 0;
    // Every level's value, made once, for channels of up to 16 bits: a look-up is cheaper
    // than a division per pixel.
    std::vector<std::uint8_t> scaled_;
};

}  // namespace pelmora
