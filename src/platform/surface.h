// A picture's persistent image: width x height colour values (0x00BBGGRR) in rows from
// the top. Whole-image work runs on the buffer, never pixel call by pixel call.
#pragma once

#include <cstdint>
#include <vector>

namespace pelmora {

class Surface {
public:
    Surface() = default;
    Surface(int width, int height, std::int32_t fill = 0);

    int Width() const { return width_; }
    int Height() const { return height_; }
    const std::int32_t* Row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    std::int32_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }

    void Clear(std::int32_t colour);
    // New size; the content is kept where old and new overlap, the rest takes fill.
    void Resize(int width, int height, std::int32_t fill);

    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    std::int32_t Pixel(int x, int y) const { return Contains(x, y) ? Row(y)[x] : -1; }
    void SetPixel(int x, int y, std::int32_t colour) {
        if (Contains(x, y)) Row(y)[x] = colour;
    }

    // Copies source (sx, sy, sw, sh) stretched onto (dx, dy, dw, dh), nearest neighbour;
    // source pixels outside the source and destination pixels outside this surface are
    // skipped, leaving what was there.
    void StretchBlt(int dx, int dy, int dw, int dh, const Surface& source, int sx, int sy, int sw, int sh);

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::int32_t> pixels_;
};

}  // namespace pelmora
