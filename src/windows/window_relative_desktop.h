// SPDX-License-Identifier: MIT
// The desktop as a script sees it from one window: every coordinate it takes or gives is
// relative to the corner of the window's frame or of its client area, which follows the
// window as it moves. What is read is still only what the screen shows there.
#pragma once

#include <optional>
#include <string>

#include "platform/desktop.h"

namespace pelmora {

// Why a window cannot be looked at, naming it: "window 123 is minimised"; "" while shown.
std::string WindowUnusable(WindowHandle window, WindowState state);

// The window's rectangle of the place: its client area or its frame.
ScreenRegion WindowRectangle(const WindowPlace& place, bool client);

class WindowRelativeDesktop : public Desktop {
public:
    // Relative to window's client area when client, else to its frame; screen must outlive
    // it. The origin is the screen's until the first Follow.
    WindowRelativeDesktop(Desktop& screen, WindowHandle window, bool client)
        : screen_(screen), window_(window), client_(client) {}

    // Reads where the window is now and puts the origin at its corner; why it cannot be
    // used (WindowUnusable) when it is not shown, the origin then left where it was.
    std::optional<std::string> Follow();
    // The window's rectangle at the last Follow, in its own coordinates: its corner at 0, 0.
    ScreenRegion Area() const { return {0, 0, area_.width, area_.height}; }
    // A point or rectangle on the screen in the window's coordinates, as at the last Follow.
    ScreenPoint Relative(ScreenPoint onScreen) const;
    ScreenRegion Relative(ScreenRegion onScreen) const;

    ScreenPoint PointerPos() override;
    void SetPointerPos(ScreenPoint point) override;
    ScreenRegion PrimaryMonitor() override;
    ScreenRegion AllMonitors() override;
    std::int32_t Pixel(std::int32_t x, std::int32_t y) override;
    void ReadArea(std::int32_t left, std::int32_t top, Surface& target) override;
    WindowHandle WindowAt(ScreenPoint point) override;
    WindowTexts ReadWindowTexts(WindowHandle window) override { return screen_.ReadWindowTexts(window); }
    std::vector<TopLevelWindow> TopLevelWindows() override { return screen_.TopLevelWindows(); }
    WindowPlace PlaceOfWindow(WindowHandle window) override;
    CurrentCursor ReadCursor() override;

private:
    // A relative point on the screen; nothing when it lies past 32-bit coordinates.
    std::optional<ScreenPoint> OnScreen(std::int64_t x, std::int64_t y) const;

    Desktop& screen_;
    WindowHandle window_;
    bool client_;
    ScreenRegion area_;  // the window's rectangle on the screen at the last Follow
};

}  // namespace pelmora
