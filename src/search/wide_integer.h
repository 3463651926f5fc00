// SPDX-License-Identifier: MIT
// Whole numbers of up to 128 bits for combining the correlation's 64-bit sums exactly: a
// count of pixels times a sum of squares passes 64 bits for pictures of a few million
// pixels.
#pragma once

#include <cstdint>

namespace pelmora {

class WideInteger {
public:
    WideInteger() = default;
    // The exact product a * b.
    static WideInteger Product(std::int64_t a, std::int64_t b) {
        const std::uint64_t x = Magnitude(a), y = Magnitude(b);
        const std::uint64_t x0 = x & 0xFFFFFFFF, x1 = x >> 32, y0 = y & 0xFFFFFFFF, y1 = y >> 32;
        const std::uint64_t p00 = x0 * y0, p01 = x0 * y1, p10 = x1 * y0, p11 = x1 * y1;
        const std::uint64_t middle = (p00 >> 32) + (p01 & 0xFFFFFFFF) + (p10 & 0xFFFFFFFF);
        WideInteger product;
        product.low_ = middle << 32 | (p00 & 0xFFFFFFFF);
        product.high_ = p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32);
        return (a < 0) != (b < 0) ? -product : product;
    }

    friend WideInteger operator+(WideInteger a, WideInteger b) {
        WideInteger sum;
        sum.low_ = a.low_ + b.low_;
        sum.high_ = a.high_ + b.high_ + (sum.low_ < a.low_ ? 1 : 0);
        return sum;
    }
    friend WideInteger operator-(WideInteger a, WideInteger b) { return a + -b; }
    friend WideInteger operator-(WideInteger a) {
        WideInteger negated;  // two's complement: every bit flipped, plus one
        negated.low_ = ~a.low_ + 1;
        negated.high_ = ~a.high_ + (negated.low_ == 0 ? 1 : 0);
        return negated;
    }
    friend bool operator==(const WideInteger&, const WideInteger&) = default;

    bool Negative() const { return (high_ >> 63) != 0; }
    // The nearest double, or one a rounding away from it; the same number always gives the
    // same double.
    double ToDouble() const {
        if (Negative()) return -(-*this).ToDouble();
        return static_cast<double>(high_) * 18446744073709551616.0 + static_cast<double>(low_);
    }

private:
    static std::uint64_t Magnitude(std::int64_t value) {
        return value < 0 ? ~static_cast<std::uint64_t>(value) + 1 : static_cast<std::uint64_t>(value);
    }

    std::uint64_t high_ = 0;  // the number is high_ * 2^64 + low_, in two's complement
    std::uint64_t low_ = 0;
};

}  // namespace pelmora
