// SPDX-License-Identifier: MIT
// A picture's persistent image: width x height colour values (0x00BBGGRR) in rows from
// the top. Whole-image work runs on the buffer, never pixel call by pixel call.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace pelmora {

// Memory for pixel buffers. A large buffer (the editor's 8:1 display is 123 MB) is aligned
// to 2 MB and handed to the large-buffer advice, through which a backend asks the system to
// back it with huge pages, so that first touching it costs a few dozen page faults instead
// of tens of thousands.
void* AllocatePixelMemory(std::size_t bytes);
void FreePixelMemory(void* memory, std::size_t bytes) noexcept;  // bytes as allocated
// What a backend tells the system about each large buffer (huge pages on Linux).
using LargeBufferAdvice = void (*)(void* memory, std::size_t bytes);
void SetLargeBufferAdvice(LargeBufferAdvice advice);

// Allocates pixel memory and leaves elements made without a value uninitialised, so that
// a buffer can grow without a pass that the next step overwrites anyway.
template <typename T>
struct UninitialisedAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    UninitialisedAllocator() = default;
    template <typename U>
    UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}
    T* allocate(std::size_t count) { return static_cast<T*>(AllocatePixelMemory(count * sizeof(T))); }
    void deallocate(T* memory, std::size_t count) noexcept { FreePixelMemory(memory, count * sizeof(T)); }
    template <typename U>
    void construct(U* place) noexcept {
        ::new (static_cast<void*>(place)) U;
    }
    template <typename U, typename... Args>
    void construct(U* place, Args&&... args) {
        ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
    }
};

// An 8 x 8 brush pattern, row by row: pixel (x, y) is at y * 8 + x.
using Pattern8x8 = std::array<std::int32_t, 64>;

class Surface {
public:
    // An empty picture (0 x 0), or width x height pixels of fill.
    Surface() = default;
    Surface(int width, int height, std::int32_t fill = 0);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Row y's pixels, left to right; y must lie inside.
    const std::int32_t* Row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    std::int32_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }

    void Clear(std::int32_t colour);  // every pixel colour
    // New size; the content is kept where old and new overlap, the rest takes fill.
    void Resize(int width, int height, std::int32_t fill);
    // New size with every pixel left unspecified, for a caller that writes them all next.
    // The buffer is kept when it is large enough, so a surface that shrinks and grows back
    // (the editor's display between its two zoom levels) costs no new memory.
    void ResizeForOverwrite(int width, int height);

    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    std::int32_t Pixel(int x, int y) const { return Contains(x, y) ? Row(y)[x] : -1; }
    void SetPixel(int x, int y, std::int32_t colour) {
        if (Contains(x, y)) Row(y)[x] = colour;
    }

    // Copies source (sx, sy, sw, sh) stretched onto (dx, dy, dw, dh), nearest neighbour;
    // source pixels outside the source and destination pixels outside this surface are
    // skipped, leaving what was there.
    void StretchBlt(int dx, int dy, int dw, int dh, const Surface& source, int sx, int sy, int sw, int sh);
    // Copies the w x h block of source at (sx, sy) to (dx, dy), row by row; parts outside
    // either surface are skipped. Source may be this surface, the block overlapping itself.
    void BitBlt(int dx, int dy, int w, int h, const Surface& source, int sx, int sy);
    // Fills (x, y, w, h) with pattern anchored at this surface's origin: pixel (px, py)
    // takes the pattern's pixel (px mod 8, py mod 8).
    void PatBlt(int x, int y, int w, int h, const Pattern8x8& pattern);
    // The rectangle from (left, top) to (right, bottom), right and bottom excluded: a
    // one-pixel outline in pen colour around an inside filled with fill, or left as it is
    // without fill.
    void Rectangle(int left, int top, int right, int bottom, std::int32_t pen, std::optional<std::int32_t> fill);

private:
    // StretchBlt by a whole factor, wholly inside both surfaces (and not onto itself).
    void Enlarge(int dx, int dy, int factor, const Surface& source, int sx, int sy, int sw, int sh);

    int width_ = 0;
    int height_ = 0;
    std::vector<std::int32_t, UninitialisedAllocator<std::int32_t>> pixels_;
};

}  // namespace pelmora
