// SPDX-License-Identifier: MIT
// The view's scale on a display of more than 96 dpi: the layout stays in layout pixels (the
// 445 x 313 window) and every window, font, border and picture is drawn dpi/96 times as
// large. A layout coordinate v becomes the physical ceil(v * dpi / 96): edges are scaled,
// not sizes, so neighbours stay flush, and the physical pixel p lies in the layout pixel
// floor(p * 96 / dpi), the exact inverse, which mouse positions go through.
#pragma once

#include <windows.h>

#include <cstdint>

namespace pelmora {

inline constexpr int kLayoutDpi = 96;

class LayoutScale {
public:
    constexpr LayoutScale() = default;
    constexpr explicit LayoutScale(int dpi) : dpi_(dpi > 0 ? dpi : kLayoutDpi) {}

    constexpr int Dpi() const { return dpi_; }
    // 96 dpi: one physical pixel per layout pixel.
    constexpr bool Unscaled() const { return dpi_ == kLayoutDpi; }

    // A layout coordinate (an edge) in physical pixels.
    constexpr int ToPhysical(int layout) const {
        return static_cast<int>(CeilDiv(static_cast<std::int64_t>(layout) * dpi_, kLayoutDpi));
    }
    // The layout pixel a physical pixel lies in.
    constexpr int ToLayout(int physical) const {
        return static_cast<int>(FloorDiv(static_cast<std::int64_t>(physical) * kLayoutDpi, dpi_));
    }
    // A physical length in layout pixels, rounded up: what covers it.
    constexpr int ToLayoutCeil(int physical) const {
        return static_cast<int>(CeilDiv(static_cast<std::int64_t>(physical) * kLayoutDpi, dpi_));
    }
    // The area inside a border one layout pixel thick round a window of width x height
    // physical pixels, in the window's own pixels: the border covers the window's outermost
    // layout pixels, so its right and bottom sides may be thinner than its left and top (1 and
    // 2 pixels at 150 %), and every layout pixel inside is as large as the scale makes it.
    RECT InsideBorder(int width, int height) const {
        return RECT{ToPhysical(1), ToPhysical(1), ToPhysical(ToLayout(width - 1)), ToPhysical(ToLayout(height - 1))};
    }
    // A rectangle of layout edges in physical pixels.
    RECT ToPhysical(int left, int top, int right, int bottom) const {
        return RECT{ToPhysical(left), ToPhysical(top), ToPhysical(right), ToPhysical(bottom)};
    }
    // The font height: a size in layout pixels times the scale, rounded to nearest.
    constexpr int Size(int layout) const {
        return static_cast<int>(
            FloorDiv(static_cast<std::int64_t>(layout) * dpi_ * 2 + kLayoutDpi, std::int64_t{2} * kLayoutDpi));
    }

    friend constexpr bool operator==(LayoutScale a, LayoutScale b) { return a.dpi_ == b.dpi_; }

private:
    static constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
        const std::int64_t q = a / b;
        return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
    }
    static constexpr std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return -FloorDiv(-a, b); }

    int dpi_ = kLayoutDpi;
};

// The dpi window is shown at: GetDpiForWindow where the system has it (Windows 10 1607 and
// later, looked up at run time), else the screen's logical dpi.
int DpiOfWindow(HWND window);

// The scale the view draws window's contents at, kept with the window by the view; 96 dpi
// for a window that has none.
LayoutScale ScaleOf(HWND window);
void SetScaleOf(HWND window, LayoutScale scale);
void ForgetScaleOf(HWND window);

// The side of the system's pointer images at dpi: GetSystemMetricsForDpi where the system
// has it, else the 96-dpi size scaled.
int CursorSizeAt(int dpi);

}  // namespace pelmora
