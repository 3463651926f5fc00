// SPDX-License-Identifier: MIT
// The desktop of a Wayland session as the desktop portal shows it: its pixels alone, one
// screenshot per look. Coordinates are the pixels of the portal's picture, (0, 0) at its
// top-left: on one output at scale 1 the screen's pixels; with several outputs, or scaled
// ones, the picture the compositor makes of them all (wlroots draws every output at the
// largest scale). Monitors are that picture as a whole. Wayland tells no program where the
// pointer is, which windows exist or what the cursor looks like: those calls throw
// DesktopUnavailable, and a refused or unanswered screenshot throws ScreenRefused.
#pragma once

#include <optional>
#include <string>

#include "backends/portal/portal_screenshots.h"
#include "platform/desktop.h"

namespace pelmora {

class PortalDesktop final : public Desktop {
public:
    explicit PortalDesktop(PortalScreenshots& portal) : portal_(portal) {}

    ScreenPoint PointerPos() override;
    void SetPointerPos(ScreenPoint point) override;
    ScreenRegion PrimaryMonitor() override;
    ScreenRegion AllMonitors() override;
    std::int32_t Pixel(std::int32_t x, std::int32_t y) override;
    void ReadArea(std::int32_t left, std::int32_t top, Surface& target) override;
    WindowHandle WindowAt(ScreenPoint point) override;
    WindowTexts ReadWindowTexts(WindowHandle window) override;
    std::vector<TopLevelWindow> TopLevelWindows() override;
    WindowPlace PlaceOfWindow(WindowHandle window) override;
    CurrentCursor ReadCursor() override;

private:
    // A screenshot and its size.
    struct Picture {
        MappedFile png;
        ScreenSize size;
    };
    // The picture a read looks at: the one taken to learn the screen's size when no read has
    // used it yet (so that a search's look costs one screenshot, not two), else a new one.
    Picture Fresh();
    Picture Take();

    PortalScreenshots& portal_;
    std::optional<Picture> unread_;
    std::optional<ScreenSize> size_;
};

}  // namespace pelmora
