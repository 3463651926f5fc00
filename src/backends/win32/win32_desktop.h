// SPDX-License-Identifier: MIT
// The screen, the pointer, the windows and the cursor over user32 and gdi32.
#pragma once

#include "platform/desktop.h"
#include "platform/text_encoding.h"

namespace pelmora {

class Win32Desktop : public Desktop {
public:
    // encoding turns other programs' ANSI window texts into the program's UTF-8.
    explicit Win32Desktop(const TextEncoding& encoding) : encoding_(encoding) {}

    ScreenPoint PointerPos() override;
    void SetPointerPos(ScreenPoint point) override;
    ScreenSize Size() override;
    std::int32_t Pixel(std::int32_t x, std::int32_t y) override;
    void ReadArea(std::int32_t left, std::int32_t top, Surface& target) override;
    WindowHandle WindowAt(ScreenPoint point) override;
    WindowTexts ReadWindowTexts(WindowHandle window) override;
    std::vector<TopLevelWindow> TopLevelWindows() override;
    CurrentCursor ReadCursor() override;

private:
    const TextEncoding& encoding_;
};

}  // namespace pelmora
