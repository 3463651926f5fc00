// SPDX-License-Identifier: MIT
#include "backends/fake/fake_desktop.h"

#include <algorithm>

#include "platform/utf8_encoding.h"

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
    target.StretchBlt(0, 0, target.Width(), target.Height(), screen, left - screenOrigin.x, top - screenOrigin.y,
                      target.Width(), target.Height());
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

CurrentCursor FakeDesktop::ReadCursor() {
    if (!cursorReadable) return {};
    return {cursorImage.has_value(), pointer, cursorImage.value_or(CursorImage{})};
}

}  // namespace pelmora
