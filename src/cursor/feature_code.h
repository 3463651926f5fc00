// SPDX-License-Identifier: MIT
// Mod_抓鼠标特征: the feature code of the current cursor's shape, a number from 0 to
// 2147483647 folded from the colours of a few fixed pixels right of and below the hot
// spot, so that the same shape always gives the same number; and the binary-text
// routines that describe the fold digit by digit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/desktop.h"

namespace pelmora {

// The work bitmap the cursor is sampled in: 16 x 16, black before the cursor is drawn.
inline constexpr int kWorkBitmapSize = 16;
// What a sample point outside the work bitmap reads as.
inline constexpr std::uint32_t kOutsideWorkBitmap = 0xFFFFFFFF;

struct SamplePoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const SamplePoint&, const SamplePoint&) = default;
};

// The sample points of a method, in order, relative to the hot spot: method 1 (i, i) for
// i = 1 to 16; method 2 (i + 8, i + 8) for i = 1 to 8; any other method (0, -1, 5 …)
// (i / 2 + 1, i) for i = 1 to 10, the division truncated.
std::vector<SamplePoint> FeatureSamplePoints(int method);

// The fold: for i = 1, 2, … the accumulator plus sample i, cut to 32 bits, rotated right
// by i bits; at the end the top bit is cleared.
std::uint32_t FoldFeatureSamples(const std::vector<std::uint32_t>& samples);

// The binary digits of a whole number >= 0, most significant first, without leading
// zeros: "0" for 0, and for anything it cannot write (2^65 and more, negative, NaN).
std::string ToBinaryText(double value);
// The number that a text of binary digits writes; "" gives 0.
double FromBinaryText(const std::string& text);
// The last n characters followed by the others: for a 32-digit text and 1 <= n <= 31, the
// 32-bit number rotated right by n bits. n is kept within 0 and the text's length.
std::string RotateBitText(const std::string& text, int n);

// Reads the current cursor into the work bitmap with its hot spot at (0, 0) (or, when no
// cursor is known, the screen from the pointer's position on), clears preview and shows
// the same picture there with every sampled pixel marked red, and folds the samples of
// method into the code.
std::uint32_t CursorFeatureCode(Desktop& desktop, PictureBox& preview, int method);
// The same code without a preview, for callers that show no picture.
std::uint32_t CursorFeatureCode(Desktop& desktop, int method);

}  // namespace pelmora
