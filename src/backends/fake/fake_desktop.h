// SPDX-License-Identifier: MIT
// A scripted desktop for tests: a screen surface, a pointer and top-level windows that
// the test sets.
#pragma once

#include <optional>

#include "platform/desktop.h"
#include "platform/controls.h"

namespace pelmora {

class FakeDesktop : public Desktop {
public:
    // A width x height screen of one colour.
    explicit FakeDesktop(int width = 1024, int height = 768, std::int32_t fill = 0) : screen(width, height, fill) {}

    ScreenPoint PointerPos() override { return pointer; }
    // Keeps the pointer on the screen, as a real desktop does.
    void SetPointerPos(ScreenPoint point) override;
    // primarySize (the whole surface's when not set) at primaryOrigin.
    ScreenRegion PrimaryMonitor() override {
        const ScreenSize size = primarySize.value_or(ScreenSize{screen.Width(), screen.Height()});
        return {primaryOrigin.x, primaryOrigin.y, size.width, size.height};
    }
    // The whole surface, at screenOrigin.
    ScreenRegion AllMonitors() override { return {screenOrigin.x, screenOrigin.y, screen.Width(), screen.Height()}; }
    std::int32_t Pixel(std::int32_t x, std::int32_t y) override;
    void ReadArea(std::int32_t left, std::int32_t top, Surface& target) override;
    // The topmost visible window whose rectangle holds the point.
    WindowHandle WindowAt(ScreenPoint point) override;
    // The texts cut to kWindowTextMaxBytes on a UTF-8 character boundary and at a NUL.
    WindowTexts ReadWindowTexts(WindowHandle window) override;
    std::vector<TopLevelWindow> TopLevelWindows() override;
    // area as the frame, client (area when not set) as the client; off the screen when
    // area meets no pixel of the surface.
    WindowPlace PlaceOfWindow(WindowHandle window) override;
    // cursorImage at the pointer; not known without one; position (0, 0) while the
    // platform cannot report the cursor.
    CurrentCursor ReadCursor() override;

    // A top-level window: its rectangle on the screen (with the frame), texts and visibility.
    struct Window {
        WindowHandle handle;
        Rect area;
        std::string title;
        std::string className;
        bool visible = true;
        std::optional<Rect> client = std::nullopt;  // its own area within the frame; area when not set
        bool minimised = false;
    };

    // Every monitor's pixels; the surface's top-left pixel lies at screenOrigin, which is
    // negative for a monitor left of or above the primary one.
    Surface screen;
    ScreenPoint screenOrigin;
    std::optional<ScreenSize> primarySize;  // the whole surface when not set
    ScreenPoint primaryOrigin;              // (0, 0) as on Windows; on X11 it may lie elsewhere
    ScreenPoint pointer;
    std::vector<Window> windows;             // in Z order from the top
    std::optional<CursorImage> cursorImage;  // the current cursor, at the pointer
    bool cursorReadable = true;              // false: the platform reports no cursor at all
    int areaReads = 0;                       // ReadArea calls so far
    int windowTextReads = 0;                 // ReadWindowTexts calls so far
};

}  // namespace pelmora
