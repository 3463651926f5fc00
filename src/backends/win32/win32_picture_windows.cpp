// SPDX-License-Identifier: MIT
#include "backends/win32/win32_picture_windows.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/slider_geometry.h"
#include "backends/win32/win32_dib.h"
#include "backends/win32/win32_scale.h"

namespace pelmora {

namespace {

std::uint32_t BackgroundPixel(std::int32_t colour) {
    // -1: the colour of the window behind it, the dialog face.
    return ToDibPixel(colour >= 0 ? colour : static_cast<std::int32_t>(GetSysColor(COLOR_BTNFACE)));
}

// Copies the part of surface, placed with its top-left at origin, that lies inside area
// into target (area's pixels, row by row). With transparent, pixels of -1 are skipped.
void DrawSurfacePart(std::vector<std::uint32_t>& target, const RECT& area, const Surface& surface, POINT origin,
                     bool transparent) {
    const int left = std::max<int>(area.left, origin.x);
    const int top = std::max<int>(area.top, origin.y);
    const int right = std::min<int>(area.right, origin.x + surface.Width());
    const int bottom = std::min<int>(area.bottom, origin.y + surface.Height());
    const int stride = area.right - area.left;
    for (int y = top; y < bottom; ++y) {
        const std::int32_t* source = surface.Row(y - origin.y) - origin.x;
        std::uint32_t* row = target.data() + static_cast<std::size_t>(y - area.top) * stride - area.left;
        for (int x = left; x < right; ++x)
            if (!transparent || source[x] != -1) row[x] = ToDibPixel(source[x]);
    }
}

void FillPixels(HDC dc, int left, int top, int right, int bottom, int systemColour) {
    const RECT line{left, top, right, bottom};
    FillRect(dc, &line, GetSysColorBrush(systemColour));
}

void PaintPicture(HWND window, HDC dc, const RECT& paintArea) {
    const PictureBox* picture = ControlOfWindow<PictureBox>(window);
    if (!picture) return;
    const LayoutScale scale = ScaleOf(window);
    RECT client;
    GetClientRect(window, &client);
    // Only what can be seen: the editor's display is far larger than the viewport that
    // shows it, and the clip box is the part of the update region not hidden by others.
    RECT visible;
    if (GetClipBox(dc, &visible) == NULLREGION) return;
    RECT dirty;
    if (!IntersectRect(&dirty, &paintArea, &client) || !IntersectRect(&dirty, &dirty, &visible)) return;

    const RECT inside = PictureInside(*picture, window);
    RECT area;
    if (IntersectRect(&area, &dirty, &inside)) {
        // The layout pixels that cover the area, composed at their own size: the window's
        // layout pixel v covers the physical pixels from ToPhysical(v) to ToPhysical(v + 1).
        const RECT cover{scale.ToLayout(area.left), scale.ToLayout(area.top), scale.ToLayout(area.right - 1) + 1,
                         scale.ToLayout(area.bottom - 1) + 1};
        const int coverWidth = cover.right - cover.left;
        const int coverHeight = cover.bottom - cover.top;
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(coverWidth) * coverHeight,
                                          BackgroundPixel(picture->BackColor()));
        const int border = picture->Border() ? 1 : 0;
        const Rect& geometry = picture->Geometry();
        const Surface& shown = picture->Picture();
        if (shown.Width() > 0 && shown.Height() > 0) {
            const POINT centred{border + CentredOffset(geometry.width - 2 * border, shown.Width()),
                                border + CentredOffset(geometry.height - 2 * border, shown.Height())};
            DrawSurfacePart(pixels, cover, shown, centred, true);
        }
        DrawSurfacePart(pixels, cover, picture->Image(), {border, border}, false);
        const int width = area.right - area.left;
        const int height = area.bottom - area.top;
        if (!scale.Unscaled()) {
            // Nearest neighbour: every layout pixel a sharp block of the scale.
            std::vector<int> columns(static_cast<std::size_t>(width));
            for (int x = 0; x < width; ++x)
                columns[static_cast<std::size_t>(x)] = scale.ToLayout(area.left + x) - cover.left;
            std::vector<std::uint32_t> scaled(static_cast<std::size_t>(width) * height);
            for (int y = 0; y < height; ++y) {
                const std::uint32_t* source =
                    pixels.data() + static_cast<std::size_t>(scale.ToLayout(area.top + y) - cover.top) * coverWidth;
                std::uint32_t* row = scaled.data() + static_cast<std::size_t>(y) * width;
                for (int x = 0; x < width; ++x) row[x] = source[columns[static_cast<std::size_t>(x)]];
            }
            pixels = std::move(scaled);
        }
        const BITMAPINFO info = TopDownDib32(width, height);
        SetDIBitsToDevice(dc, area.left, area.top, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                          static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    }
    if (picture->Border()) {
        // A sunken one-pixel panel on the layout pixels round the inside: shadow at the top
        // and left, highlight at the bottom and right.
        const int w = client.right, h = client.bottom;
        FillPixels(dc, 0, 0, w, inside.top, COLOR_BTNSHADOW);
        FillPixels(dc, 0, 0, inside.left, h, COLOR_BTNSHADOW);
        FillPixels(dc, inside.left, inside.bottom, w, h, COLOR_BTNHIGHLIGHT);
        FillPixels(dc, inside.right, inside.top, w, h, COLOR_BTNHIGHLIGHT);
    }
}

LRESULT CALLBACK PictureProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: return 1;  // the paint covers everything it is asked for
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            PaintPicture(window, dc, paint.rcPaint);
            EndPaint(window, &paint);
            return 0;
        }
        default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK ShapeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCHITTEST: return HTTRANSPARENT;  // what lies under a shape gets the clicks
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            if (const Shape* shape = ControlOfWindow<Shape>(window)) {
                // The window's region leaves only the ring of an outline to paint.
                const std::int32_t colour = shape->Filled() ? shape->BackColor() : shape->BorderColor();
                FillClient(window, dc, colour >= 0 ? static_cast<COLORREF>(colour) : GetSysColor(COLOR_BTNFACE));
            }
            EndPaint(window, &paint);
            return 0;
        }
        default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

void RegisterWindowClass(const wchar_t* name, WNDPROC procedure, UINT style, int extraBytes) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.cbWndExtra = extraBytes;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = name;
    RegisterClassExW(&windowClass);
}

void RegisterPictureClasses() {
    static const bool registered = [] {
        RegisterWindowClass(kPictureWindowClass, PictureProcedure, CS_DBLCLKS);
        RegisterWindowClass(kShapeWindowClass, ShapeProcedure, 0);
        return true;
    }();
    (void)registered;
}

RECT PictureInside(const PictureBox& picture, HWND window) {
    RECT inside;
    GetClientRect(window, &inside);
    if (picture.Border()) inside = ScaleOf(window).InsideBorder(inside.right, inside.bottom);
    return inside;
}

void ShowPicture(HWND window, const PictureBox& picture) {
    AttachControl(window, picture);
    const PictureDamage damage = picture.TakeDamage();
    if (damage.whole) {
        InvalidateRect(window, nullptr, FALSE);
    } else if (damage.area.width > 0 && damage.area.height > 0) {
        const int inset = picture.Border() ? 1 : 0;
        const Rect& a = damage.area;
        const RECT changed = ScaleOf(window).ToPhysical(a.left + inset, a.top + inset, a.left + a.width + inset,
                                                        a.top + a.height + inset);
        InvalidateRect(window, &changed, FALSE);
    }
}

void ShowShape(HWND window, const Shape& shape) {
    AttachControl(window, shape);
    RECT client;
    GetClientRect(window, &client);
    HRGN ring = nullptr;
    const int t = ScaleOf(window).ToPhysical(1);  // the outline is one layout pixel thick
    if (!shape.Filled() && client.right > 2 * t && client.bottom > 2 * t) {
        ring = CreateRectRgn(0, 0, client.right, client.bottom);
        HRGN hole = CreateRectRgn(t, t, client.right - t, client.bottom - t);
        CombineRgn(ring, ring, hole, RGN_DIFF);
        DeleteObject(hole);
    }
    SetWindowRgn(window, ring, TRUE);  // the window owns the region from now on
    InvalidateRect(window, nullptr, FALSE);
}

}  // namespace pelmora
