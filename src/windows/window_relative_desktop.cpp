// SPDX-License-Identifier: MIT
#include "windows/window_relative_desktop.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace pelmora {

namespace {
// A coordinate moved into the 32 bits of screen coordinates, the far side held at their ends.
std::int32_t Held(std::int64_t coordinate) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(coordinate, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}
}  // namespace

std::string WindowUnusable(WindowHandle window, WindowState state) {
    const std::string name = "window " + std::to_string(window);
    switch (state) {
        case WindowState::kShown: return "";
        case WindowState::kGone: return "no " + name + " (any longer)";
        case WindowState::kMinimised: return name + " is minimised";
        case WindowState::kHidden: return name + " is hidden (not mapped, or on another virtual desktop)";
        case WindowState::kOffScreen: return name + " lies off every monitor";
    }
    return name + " cannot be used";
}

ScreenRegion WindowRectangle(const WindowPlace& place, bool client) { return client ? place.client : place.frame; }

std::optional<std::string> WindowRelativeDesktop::Follow() {
    const WindowPlace place = screen_.PlaceOfWindow(window_);
    if (place.state != WindowState::kShown) return WindowUnusable(window_, place.state);
    area_ = WindowRectangle(place, client_);
    return std::nullopt;
}

std::optional<ScreenPoint> WindowRelativeDesktop::OnScreen(std::int64_t x, std::int64_t y) const {
    x += area_.left;
    y += area_.top;
    if (Held(x) != x || Held(y) != y) return std::nullopt;
    return ScreenPoint{static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
}

ScreenPoint WindowRelativeDesktop::Relative(ScreenPoint onScreen) const {
    return {Held(std::int64_t{onScreen.x} - area_.left), Held(std::int64_t{onScreen.y} - area_.top)};
}

ScreenRegion WindowRelativeDesktop::Relative(ScreenRegion onScreen) const {
    const ScreenPoint corner = Relative(ScreenPoint{onScreen.left, onScreen.top});
    return {corner.x, corner.y, onScreen.width, onScreen.height};
}

ScreenPoint WindowRelativeDesktop::PointerPos() { return Relative(screen_.PointerPos()); }

void WindowRelativeDesktop::SetPointerPos(ScreenPoint point) {
    if (const auto onScreen = OnScreen(point.x, point.y)) screen_.SetPointerPos(*onScreen);
}

ScreenRegion WindowRelativeDesktop::PrimaryMonitor() { return Relative(screen_.PrimaryMonitor()); }

ScreenRegion WindowRelativeDesktop::AllMonitors() { return Relative(screen_.AllMonitors()); }

std::int32_t WindowRelativeDesktop::Pixel(std::int32_t x, std::int32_t y) {
    const auto onScreen = OnScreen(x, y);
    return onScreen ? screen_.Pixel(onScreen->x, onScreen->y) : -1;
}

void WindowRelativeDesktop::ReadArea(std::int32_t left, std::int32_t top, Surface& target) {
    // A corner past 32-bit screen coordinates has nothing of the screen to its right or below.
    if (const auto onScreen = OnScreen(left, top)) screen_.ReadArea(onScreen->x, onScreen->y, target);
}

WindowHandle WindowRelativeDesktop::WindowAt(ScreenPoint point) {
    const auto onScreen = OnScreen(point.x, point.y);
    return onScreen ? screen_.WindowAt(*onScreen) : 0;
}

WindowPlace WindowRelativeDesktop::PlaceOfWindow(WindowHandle window) {
    WindowPlace place = screen_.PlaceOfWindow(window);
    if (place.state == WindowState::kShown) {
        place.frame = Relative(place.frame);
        place.client = Relative(place.client);
    }
    return place;
}

CurrentCursor WindowRelativeDesktop::ReadCursor() {
    CurrentCursor cursor = screen_.ReadCursor();
    if (cursor.known || cursor.position != ScreenPoint{}) cursor.position = Relative(cursor.position);
    return cursor;
}

}  // namespace pelmora
