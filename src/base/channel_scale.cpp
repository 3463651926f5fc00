// SPDX-License-Identifier: MIT
#include "base/channel_scale.h"

#include <bit>

namespace pelmora {

ChannelScale::ChannelScale(std::uint32_t mask) : mask_(mask) {
    if (mask == 0) return;
    shift_ = std::countr_zero(mask);
    largest_ = mask >> shift_;
    if (largest_ > 0xFFFF) return;
    scaled_.resize(std::size_t{largest_} + 1);
    for (std::uint32_t level = 0; level <= largest_; ++level) scaled_[level] = static_cast<std::uint8_t>(Scale(level));
}

std::uint32_t ChannelScale::Scale(std::uint32_t level) const {
    if (largest_ == 0) return 0;
    return static_cast<std::uint32_t>((std::uint64_t{level} * 255 + largest_ / 2) / largest_);
}

}  // namespace pelmora
