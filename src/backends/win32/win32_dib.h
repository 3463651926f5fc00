// SPDX-License-Identifier: MIT
// The 32-bit device-independent bitmaps through which the Win32 backend moves pixels: rows
// from the top, one DWORD per pixel holding 0x00RRGGBB, the program's colour value
// (0x00BBGGRR) with red and blue swapped. Filling brushes live here too.
#pragma once

#include <windows.h>

#include <cstdint>

namespace pelmora {

// The header of a width x height DIB with 32 bits per pixel, rows from the top.
inline BITMAPINFO TopDownDib32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A colour value as a DIB pixel.
inline std::uint32_t ToDibPixel(std::int32_t colour) {
    const auto value = static_cast<std::uint32_t>(colour);
    return (value & 0xFF) << 16 | (value & 0xFF00) | (value >> 16 & 0xFF);
}

// A DIB pixel as a colour value; whatever its top byte held is dropped.
inline std::int32_t FromDibPixel(std::uint32_t pixel) {
    return static_cast<std::int32_t>(ToDibPixel(static_cast<std::int32_t>(pixel & 0x00FFFFFF)));
}

// Fills the whole client area of window, in its paint, with one colour.
inline void FillClient(HWND window, HDC dc, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
}

}  // namespace pelmora
