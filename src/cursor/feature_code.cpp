// SPDX-License-Identifier: MIT
#include "cursor/feature_code.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "cursor/cursor_drawing.h"
#include "sampling/colour_model.h"

namespace pelmora {

std::vector<SamplePoint> FeatureSamplePoints(int method) {
    std::vector<SamplePoint> points;
    if (method == 1) {
        for (int i = 1; i <= 16; ++i) points.push_back({i, i});
    } else if (method == 2) {
        for (int i = 1; i <= 8; ++i) points.push_back({i + 8, i + 8});
    } else {
        for (int i = 1; i <= 10; ++i) points.push_back({i / 2 + 1, i});
    }
    return points;
}

std::uint32_t FoldFeatureSamples(const std::vector<std::uint32_t>& samples) {
    std::uint32_t accumulator = 0;
    int i = 0;
    for (const std::uint32_t sample : samples) accumulator = std::rotr(accumulator + sample, ++i);
    return accumulator & 0x7FFFFFFF;
}

std::string ToBinaryText(double value) {
    std::string digits;
    for (int n = 64; n >= 0; --n) {
        const double power = std::ldexp(1.0, n);
        if (std::floor(value / power) == 1.0) {
            digits += '1';
            value -= power;
        } else if (!digits.empty()) {
            digits += '0';
        }
    }
    return digits.empty() ? "0" : digits;
}

double FromBinaryText(const std::string& text) {
    double value = 0;
    int k = 0;
    for (auto digit = text.rbegin(); digit != text.rend(); ++digit, ++k)
        if (*digit >= '0' && *digit <= '9') value += (*digit - '0') * std::ldexp(1.0, k);
    return value;
}

std::string RotateBitText(const std::string& text, int n) {
    const std::size_t tail = std::min(static_cast<std::size_t>(std::max(n, 0)), text.size());
    const std::size_t head = text.size() - tail;
    return text.substr(head) + text.substr(0, head);
}

namespace {
// Reads the cursor into the work bitmap and into shown (drawn over what shown holds),
// marks the sample points in shown and folds the samples.
std::uint32_t FeatureCodeShownIn(Desktop& desktop, Surface& shown, int method) {
    const CurrentCursor cursor = desktop.ReadCursor();
    Surface work(kWorkBitmapSize, kWorkBitmapSize, kColourBlack);
    if (cursor.known) {
        DrawCursorImage(shown, cursor.image, -cursor.image.hotX, -cursor.image.hotY);
        DrawCursorImage(work, cursor.image, -cursor.image.hotX, -cursor.image.hotY);
    } else {
        // The screen from the pointer on: 16 x 16 into the work bitmap, 32 x 32 into the
        // preview, both read at once. What lies off the screen stays black.
        constexpr int kShownSize = 2 * kWorkBitmapSize;
        Surface screen(kShownSize, kShownSize, kColourBlack);
        desktop.ReadArea(cursor.position.x, cursor.position.y, screen);
        work.StretchBlt(0, 0, kWorkBitmapSize, kWorkBitmapSize, screen, 0, 0, kWorkBitmapSize, kWorkBitmapSize);
        shown.StretchBlt(0, 0, kShownSize, kShownSize, screen, 0, 0, kShownSize, kShownSize);
    }
    std::vector<std::uint32_t> samples;
    for (const SamplePoint point : FeatureSamplePoints(method)) {
        shown.SetPixel(point.x, point.y, kColourRed);
        samples.push_back(work.Contains(point.x, point.y) ? static_cast<std::uint32_t>(work.Pixel(point.x, point.y))
                                                          : kOutsideWorkBitmap);
    }
    return FoldFeatureSamples(samples);
}
}  // namespace

std::uint32_t CursorFeatureCode(Desktop& desktop, PictureBox& preview, int method) {
    Surface& shown = preview.EditImage();
    shown.Clear(preview.BackColor());
    return FeatureCodeShownIn(desktop, shown, method);
}

std::uint32_t CursorFeatureCode(Desktop& desktop, int method) {
    // Shown nowhere: the picture the preview would hold goes to a scratch surface of the
    // preview's size, so both overloads run the same reads and samples.
    Surface scratch(2 * kWorkBitmapSize, 2 * kWorkBitmapSize, kColourBlack);
    return FeatureCodeShownIn(desktop, scratch, method);
}

}  // namespace pelmora
