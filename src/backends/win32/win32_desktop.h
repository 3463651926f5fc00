// SPDX-License-Identifier: MIT
// The screen, the pointer, the windows and the cursor over user32 and gdi32.
#pragma once

#include <string>

#include "platform/desktop.h"
#include "platform/text_encoding.h"

namespace pelmora {

// Why this process cannot read the screen, or empty when it can: it runs where no one
// sees (a service's window station), or on a desktop other than the one shown (while the
// workstation is locked or a secure desktop such as a UAC prompt is up), or the screen has
// no device context.
std::string ScreenUnavailability();

class Win32Desktop : public Desktop {
public:
    // Other programs' window texts read through the ANSI code page, as pelmora.exe reads
    // them (a character the code page lacks comes out as "?"); ansi turns them into UTF-8.
    explicit Win32Desktop(const TextEncoding& ansi) : ansi_(&ansi) {}
    // Window texts read in UTF-16, every character kept whatever the code page, and cut to
    // kWindowTextMaxBytes of UTF-8 as on X11: for pelmora-cli, whose output is UTF-8.
    Win32Desktop() = default;

    ScreenPoint PointerPos() override;
    void SetPointerPos(ScreenPoint point) override;
    // The primary screen's resolution.
    ScreenSize Size();
    // The primary monitor: at (0, 0), the origin of Windows' screen coordinates, with Size().
    ScreenRegion PrimaryMonitor() override;
    // The virtual screen.
    ScreenRegion AllMonitors() override;
    std::int32_t Pixel(std::int32_t x, std::int32_t y) override;
    void ReadArea(std::int32_t left, std::int32_t top, Surface& target) override;
    WindowHandle WindowAt(ScreenPoint point) override;
    WindowTexts ReadWindowTexts(WindowHandle window) override;
    std::vector<TopLevelWindow> TopLevelWindows() override;
    // The frame as DWM draws it (GetWindowRect where DWM gives no bounds), the client area
    // through ClientToScreen; physical pixels in a DPI-aware process.
    WindowPlace PlaceOfWindow(WindowHandle window) override;
    CurrentCursor ReadCursor() override;

private:
    const TextEncoding* ansi_ = nullptr;  // none: UTF-16 reads
};

}  // namespace pelmora
