// SPDX-License-Identifier: MIT
#include "backends/win32/win32_cursor.h"

#include <windows.h>

#include <algorithm>

#include "backends/win32/win32_dib.h"

namespace pelmora {

namespace {

using GetCursorInfoFunction = BOOL(WINAPI*)(PCURSORINFO);

// GetCursorInfo is looked up at run time: systems before Windows 98 and NT 4 SP6 lack it,
// and the program then reads the screen under the pointer instead.
GetCursorInfoFunction FindGetCursorInfo() {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    if (!user32) return nullptr;
    const FARPROC found = GetProcAddress(user32, "GetCursorInfo");
    // Through void(*)() so that the compiler accepts the change of signature.
    return reinterpret_cast<GetCursorInfoFunction>(reinterpret_cast<void (*)()>(found));
}

// The cursor drawn by DrawIcon at (0, 0) of a width x height bitmap filled with brush, as
// 0x00RRGGBB values in rows from the top; empty when it could not be drawn.
std::vector<std::uint32_t> DrawOver(HDC screen, HCURSOR cursor, int width, int height, int brush) {
    std::vector<std::uint32_t> pixels;
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = memory ? CreateCompatibleBitmap(screen, width, height) : nullptr;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        const RECT whole{0, 0, width, height};
        FillRect(memory, &whole, static_cast<HBRUSH>(GetStockObject(brush)));
        const bool drawn = DrawIcon(memory, 0, 0, cursor) != 0;
        SelectObject(memory, old);  // GetDIBits wants the bitmap out of every DC
        if (drawn) {
            BITMAPINFO info = TopDownDib32(width, height);
            pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
            if (GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS) != height)
                pixels.clear();
        }
        DeleteObject(bitmap);
    }
    if (memory) DeleteDC(memory);
    return pixels;
}

// A pixel that is darker over white than over black in some channel is XOR-ed onto the
// screen (its AND mask bit is 1): no blending of a covering pixel can give that.
bool Inverting(std::uint32_t overBlack, std::uint32_t overWhite) {
    for (int shift = 0; shift <= 16; shift += 8)
        if (((overWhite >> shift) & 0xFF) < ((overBlack >> shift) & 0xFF)) return true;
    return false;
}

// One covering pixel from its colour over black and over white: what shows of white
// through the cursor is the part it does not cover, so the coverage is 255 minus the
// largest channel difference. The colour over black is already multiplied by it.
std::uint32_t CombinePixel(std::uint32_t overBlack, std::uint32_t overWhite) {
    int showing = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int difference =
            static_cast<int>((overWhite >> shift) & 0xFF) - static_cast<int>((overBlack >> shift) & 0xFF);
        showing = std::max(showing, difference);
    }
    const auto alpha = static_cast<std::uint32_t>(255 - showing);
    return alpha << 24 | static_cast<std::uint32_t>(FromDibPixel(overBlack));
}

// The image of cursor: its hot spot and its pixels drawn over black and over white.
CursorImage ReadImage(HCURSOR cursor) {
    CursorImage image;
    ICONINFO icon{};
    if (!GetIconInfo(cursor, &icon)) return image;
    image.hotX = static_cast<int>(icon.xHotspot);
    image.hotY = static_cast<int>(icon.yHotspot);
    int width = 0;
    int height = 0;
    BITMAP bitmap{};
    if (icon.hbmColor && GetObjectW(icon.hbmColor, sizeof bitmap, &bitmap)) {
        width = bitmap.bmWidth;
        height = bitmap.bmHeight;
    } else if (icon.hbmMask && GetObjectW(icon.hbmMask, sizeof bitmap, &bitmap)) {
        // A monochrome cursor's mask holds the AND mask above the XOR mask.
        width = bitmap.bmWidth;
        height = bitmap.bmHeight / 2;
    }
    if (icon.hbmColor) DeleteObject(icon.hbmColor);
    if (icon.hbmMask) DeleteObject(icon.hbmMask);
    // DrawIcon draws at the system's cursor size, which may be larger than the bitmaps.
    width = std::max(width, GetSystemMetrics(SM_CXCURSOR));
    height = std::max(height, GetSystemMetrics(SM_CYCURSOR));
    if (width <= 0 || height <= 0) return image;

    HDC screen = GetDC(nullptr);
    if (!screen) return image;
    const std::vector<std::uint32_t> overBlack = DrawOver(screen, cursor, width, height, BLACK_BRUSH);
    const std::vector<std::uint32_t> overWhite = DrawOver(screen, cursor, width, height, WHITE_BRUSH);
    ReleaseDC(nullptr, screen);
    if (overBlack.empty() || overWhite.empty()) return image;

    image.width = width;
    image.height = height;
    image.pixels.resize(overBlack.size());
    for (std::size_t i = 0; i < overBlack.size(); ++i) {
        if (!Inverting(overBlack[i], overWhite[i])) {
            image.pixels[i] = CombinePixel(overBlack[i], overWhite[i]);
            continue;
        }
        image.pixels[i] = 0xFF000000u | static_cast<std::uint32_t>(FromDibPixel(overBlack[i]));
        if (image.inverts.empty()) image.inverts.resize(overBlack.size());
        image.inverts[i] = 1;
    }
    return image;
}

}  // namespace

CurrentCursor ReadCurrentCursor() {
    CurrentCursor current;
    static const GetCursorInfoFunction getCursorInfo = FindGetCursorInfo();
    if (!getCursorInfo) return current;
    CURSORINFO info{};
    info.cbSize = sizeof info;
    if (!getCursorInfo(&info)) return current;
    current.position = {info.ptScreenPos.x, info.ptScreenPos.y};
    current.known = info.flags != 0 || info.hCursor != nullptr;
    // The handle belongs to the system (or the window showing it): it is drawn, never destroyed.
    if (current.known && info.hCursor) current.image = ReadImage(info.hCursor);
    return current;
}

}  // namespace pelmora
