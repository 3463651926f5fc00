// SPDX-License-Identifier: MIT
#include "backends/win32/win32_fonts.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace pelmora {

namespace {

// The layout's line, in layout pixels.
constexpr int kLayoutLine = 12;
// What the fields show numbers in.
constexpr std::wstring_view kNumberCharacters = L"0123456789ABCDEF";

bool Installed(HDC dc, const wchar_t* face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    EnumFontFamiliesExW(
        dc, &wanted,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) -> int {
            *reinterpret_cast<bool*>(found) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

// The first installed of the faces that have the Chinese glyphs, else the system's choice.
const wchar_t* ChineseFace(HDC dc) {
    static constexpr std::array<const wchar_t*, 4> candidates{L"SimSun", L"Microsoft YaHei UI", L"Microsoft YaHei",
                                                              L"WenQuanYi Micro Hei"};
    for (const wchar_t* face : candidates)
        if (Installed(dc, face)) return face;
    return L"";
}

// The widest of the number characters in the font selected into dc.
int WidestNumberCharacter(HDC dc) {
    int widest = 0;
    for (const wchar_t c : kNumberCharacters) {
        SIZE size{};
        GetTextExtentPoint32W(dc, &c, 1, &size);
        widest = std::max(widest, static_cast<int>(size.cx));
    }
    return widest;
}

// face as large as fits: cells at most line pixels high and, with narrow, number characters
// at most half a line wide, rounded up. A positive height asks for the cell's height, not the
// em's, but a face's rounding may make the cell a pixel higher or lower than asked: the
// measured font decides, from a little above the line down.
HFONT FittedFont(HDC dc, const wchar_t* face, int line, bool narrow) {
    for (int height = line + 2;; --height) {
        HFONT font = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
        if (!font || height == 1) return font;
        HGDIOBJ old = SelectObject(dc, font);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        const bool fits = metrics.tmHeight <= line && (!narrow || WidestNumberCharacter(dc) <= (line + 1) / 2);
        SelectObject(dc, old);
        if (fits) return font;
        DeleteObject(font);
    }
}

}  // namespace

ViewFonts::ViewFonts(LayoutScale scale) {
    HDC screen = GetDC(nullptr);
    const wchar_t* face = ChineseFace(screen);
    const int line = scale.Size(kLayoutLine);
    text_ = FittedFont(screen, face, line, false);
    field_ = FittedFont(screen, face, line, true);
    ReleaseDC(nullptr, screen);
}

ViewFonts::~ViewFonts() { Release(); }

ViewFonts::ViewFonts(ViewFonts&& other) noexcept
    : text_(std::exchange(other.text_, nullptr)), field_(std::exchange(other.field_, nullptr)) {}

ViewFonts& ViewFonts::operator=(ViewFonts&& other) noexcept {
    if (this != &other) {
        Release();
        text_ = std::exchange(other.text_, nullptr);
        field_ = std::exchange(other.field_, nullptr);
    }
    return *this;
}

void ViewFonts::Release() {
    if (text_) DeleteObject(text_);
    if (field_) DeleteObject(field_);
    text_ = field_ = nullptr;
}

}  // namespace pelmora
