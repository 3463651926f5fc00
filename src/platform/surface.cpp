// SPDX-License-Identifier: MIT
#include "platform/surface.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

namespace pelmora {

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kLargeBufferFrom = kHugePage;
LargeBufferAdvice largeBufferAdvice = nullptr;
}  // namespace

void SetLargeBufferAdvice(LargeBufferAdvice advice) { largeBufferAdvice = advice; }

void* AllocatePixelMemory(std::size_t bytes) {
    if (bytes < kLargeBufferFrom) return ::operator new(bytes);
    const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* memory = ::operator new (rounded, std::align_val_t{kHugePage});
    if (largeBufferAdvice) largeBufferAdvice(memory, rounded);
    return memory;
}

void FreePixelMemory(void* memory, std::size_t bytes) noexcept {
    if (bytes < kLargeBufferFrom) return ::operator delete(memory);
    ::operator delete (memory, std::align_val_t{kHugePage});
}

Surface::Surface(int width, int height, std::int32_t fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * height_, fill) {}

void Surface::Clear(std::int32_t colour) { std::fill(pixels_.begin(), pixels_.end(), colour); }

void Surface::Resize(int width, int height, std::int32_t fill) {
    Surface resized(width, height, fill);
    const int keepWidth = std::min(width_, resized.width_);
    for (int y = 0; y < std::min(height_, resized.height_); ++y) std::copy_n(Row(y), keepWidth, resized.Row(y));
    *this = std::move(resized);
}

void Surface::ResizeForOverwrite(int width, int height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    pixels_.resize(static_cast<std::size_t>(width_) * height_);
}

void Surface::StretchBlt(int dx, int dy, int dw, int dh, const Surface& source, int sx, int sy, int sw, int sh) {
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    if (dw == sw && dh == sh) return BitBlt(dx, dy, dw, dh, source, sx, sy);
    if (dw % sw == 0 && dw / sw == dh / sh && dh % sh == 0 && dx >= 0 && dy >= 0 && sx >= 0 && sy >= 0 &&
        dx + dw <= width_ && dy + dh <= height_ && sx + sw <= source.width_ && sy + sh <= source.height_)
        return Enlarge(dx, dy, dw / sw, source, sx, sy, sw, sh);
    const int yFrom = std::max(dy, 0);
    const int yTo = std::min(dy + dh, height_);
    const int xFrom = std::max(dx, 0);
    const int xTo = std::min(dx + dw, width_);
    for (int y = yFrom; y < yTo; ++y) {
        const int srcY = sy + static_cast<int>(static_cast<long long>(y - dy) * sh / dh);
        if (srcY < 0 || srcY >= source.height_) continue;
        const std::int32_t* srcRow = source.Row(srcY);
        std::int32_t* dstRow = Row(y);
        for (int x = xFrom; x < xTo; ++x) {
            const int srcX = sx + static_cast<int>(static_cast<long long>(x - dx) * sw / dw);
            if (srcX >= 0 && srcX < source.width_) dstRow[x] = srcRow[srcX];
        }
    }
}

void Surface::Enlarge(int dx, int dy, int factor, const Surface& source, int sx, int sy, int sw, int sh) {
    // Each source row is widened once; the factor - 1 rows under it are copies of that row.
    const auto rowBytes = static_cast<std::size_t>(sw) * factor * sizeof(std::int32_t);
    for (int y = 0; y < sh; ++y) {
        const std::int32_t* from = source.Row(sy + y) + sx;
        std::int32_t* first = Row(dy + y * factor) + dx;
        for (int x = 0; x < sw; ++x) std::fill_n(first + std::ptrdiff_t{x} * factor, factor, from[x]);
        for (int copy = 1; copy < factor; ++copy) std::memcpy(Row(dy + y * factor + copy) + dx, first, rowBytes);
    }
}

void Surface::BitBlt(int dx, int dy, int w, int h, const Surface& source, int sx, int sy) {
    // Clip the block to both surfaces, moving both corners together.
    const auto clip = [](int& d, int& s, int& length, int dLimit, int sLimit) {
        const int before = std::max({0, -d, -s});
        d += before;
        s += before;
        length = std::min({length - before, dLimit - d, sLimit - s});
    };
    clip(dx, sx, w, width_, source.width_);
    clip(dy, sy, h, height_, source.height_);
    if (w <= 0 || h <= 0) return;
    const auto rowBytes = static_cast<std::size_t>(w) * sizeof(std::int32_t);
    // Rows in the order that never reads a row already overwritten when the block overlaps itself.
    const bool upwards = &source == this && dy > sy;
    for (int i = 0; i < h; ++i) {
        const int row = upwards ? h - 1 - i : i;
        std::memmove(Row(dy + row) + dx, source.Row(sy + row) + sx, rowBytes);
    }
}

void Surface::PatBlt(int x, int y, int w, int h, const Pattern8x8& pattern) {
    const int xFrom = std::max(x, 0), xTo = std::min(x + w, width_);
    const int yFrom = std::max(y, 0), yTo = std::min(y + h, height_);
    for (int py = yFrom; py < yTo; ++py) {
        const std::int32_t* patternRow = pattern.data() + std::ptrdiff_t{py % 8} * 8;
        std::int32_t* row = Row(py);
        for (int px = xFrom; px < xTo; ++px) row[px] = patternRow[px % 8];
    }
}

void Surface::Rectangle(int left, int top, int right, int bottom, std::int32_t pen, std::optional<std::int32_t> fill) {
    if (right <= left || bottom <= top) return;
    const auto fillBlock = [this](int x0, int y0, int x1, int y1, std::int32_t colour) {
        x0 = std::max(x0, 0);
        x1 = std::min(x1, width_);
        for (int y = std::max(y0, 0); y < std::min(y1, height_); ++y)
            std::fill(Row(y) + x0, Row(y) + std::max(x0, x1), colour);
    };
    if (fill) fillBlock(left + 1, top + 1, right - 1, bottom - 1, *fill);
    fillBlock(left, top, right, top + 1, pen);
    fillBlock(left, bottom - 1, right, bottom, pen);
    fillBlock(left, top, left + 1, bottom, pen);
    fillBlock(right - 1, top, right, bottom, pen);
}

}  // namespace pelmora
