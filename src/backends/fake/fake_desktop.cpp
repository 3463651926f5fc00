// SPDX-License-Identifier: MIT
#include "backends/fake/fake_desktop.h"

#include <algorithm>
#include <cstdint>

#include "platform/utf8_encoding.h"
#include "search/search_area.h"

namespace pelmora {

void FakeDesktop::SetPointerPos(ScreenPoint point) {
    pointer = {std::clamp(point.x, screenOrigin.x, screenOrigin.x + screen.Width() - 1),
               std::clamp(point.y, screenOrigin.y, screenOrigin.y + screen.Height() - 1)};
}

std::int32_t FakeDesktop::Pixel(std::int32_t x, std::int32_t y) {
    return screen.Pixel(x - screenOrigin.x, y - screenOrigin.y);
}

void FakeDesktop::ReadArea(std::int32_t left, std::int32_t top, Surface& target) {
    ++areaReads;
    // Only the part on the screen is copied, worked out in 64 bits: a rectangle far off the
    // screen (at INT_MIN, say) must not overflow on its way to being nothing.
    const std::int64_t x = std::int64_t{left} - screenOrigin.x, y = std::int64_t{top} - screenOrigin.y;
    const std::int64_t fromX = std::max<std::int64_t>(x, 0), fromY = std::max<std::int64_t>(y, 0);
    const std::int64_t toX = std::min<std::int64_t>(x + target.Width(), screen.Width());
    const std::int64_t toY = std::min<std::int64_t>(y + target.Height(), screen.Height());
    if (fromX >= toX || fromY >= toY) return;
    target.BitBlt(static_cast<int>(fromX - x), static_cast<int>(fromY - y), static_cast<int>(toX - fromX),
                  static_cast<int>(toY - fromY), screen, static_cast<int>(fromX), static_cast<int>(fromY));
}

WindowHandle FakeDesktop::WindowAt(ScreenPoint point) {
    for (const Window& window : windows) {
        const Rect& r = window.area;
        if (window.visible && point.x >= r.left && point.y >= r.top && point.x < r.left + r.width &&
            point.y < r.top + r.height)
            return window.handle;
    }
    return 0;
}

namespace {
std::string AsTextBuffer(const std::string& text) {
    return Utf8Encoding().CutAtCharacterBoundary(text.substr(0, text.find('\0')), kWindowTextMaxBytes);
}
}  // namespace

WindowTexts FakeDesktop::ReadWindowTexts(WindowHandle handle) {
    ++windowTextReads;
    for (const Window& window : windows)
        if (window.handle == handle) return {AsTextBuffer(window.title), AsTextBuffer(window.className)};
    return {};
}

std::vector<TopLevelWindow> FakeDesktop::TopLevelWindows() {
    std::vector<TopLevelWindow> all;
    for (const Window& window : windows) all.push_back({window.handle, AsTextBuffer(window.title)});
    return all;
}

WindowPlace FakeDesktop::PlaceOfWindow(WindowHandle handle) {
    const auto window =
        std::find_if(windows.begin(), windows.end(), [&](const Window& listed) { return listed.handle == handle; });
    if (window == windows.end()) return {};
    if (window->minimised) return {WindowState::kMinimised};
    if (!window->visible) return {WindowState::kHidden};
    const auto region = [](const Rect& r) { return ScreenRegion{r.left, r.top, r.width, r.height}; };
    const ScreenRegion frame = region(window->area);
    if (!SearchArea(frame, AllMonitors())) return {WindowState::kOffScreen};
    return {WindowState::kShown, frame, region(window->client.value_or(window->area))};
}

CurrentCursor FakeDesktop::ReadCursor() {
    if (!cursorReadable) return {};
    return {cursorImage.has_value(), pointer, cursorImage.value_or(CursorImage{})};
}

}  // namespace pelmora
