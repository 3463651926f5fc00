#include "platform/surface.h"

#include <algorithm>

namespace pelmora {

Surface::Surface(int width, int height, std::int32_t fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * height_, fill) {}

void Surface::Clear(std::int32_t colour) { std::fill(pixels_.begin(), pixels_.end(), colour); }

void Surface::Resize(int width, int height, std::int32_t fill) {
    Surface resized(width, height, fill);
    const int keepWidth = std::min(width_, resized.width_);
    for (int y = 0; y < std::min(height_, resized.height_); ++y)
        std::copy_n(Row(y), keepWidth, resized.Row(y));
    *this = std::move(resized);
}

void Surface::StretchBlt(int dx, int dy, int dw, int dh, const Surface& source, int sx, int sy, int sw, int sh) {
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
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

}  // namespace pelmora
