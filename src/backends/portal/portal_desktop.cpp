// SPDX-License-Identifier: MIT
#include "backends/portal/portal_desktop.h"

#include <algorithm>

#include "backends/portal/png_area.h"
#include "capture/screen_grab.h"

namespace pelmora {

namespace {
// Why each value is not there, and where it can be had.
constexpr const char* kNoPointer =
    "Wayland tells no program where the pointer is: give X Y, or run in an X11 session for the pointer";
constexpr const char* kNoWindows = "Wayland tells no program which windows there are: window tools need an X11 session";
constexpr const char* kNoCursor = "Wayland shows no program the cursor: the cursor needs an X11 session";
}  // namespace

PortalDesktop::Picture PortalDesktop::Take() {
    Picture picture{portal_.Take(), {}};
    const std::optional<PngHeader> header = ReadPngHeader(picture.png.Bytes());
    if (!header) throw ScreenRefused("the desktop portal's screenshot is not a PNG picture");
    if (header->size.width > kLargestPictureSide || header->size.height > kLargestPictureSide)
        throw ScreenRefused("the desktop portal's screenshot is larger than any screen");
    picture.size = header->size;
    size_ = picture.size;
    return picture;
}

PortalDesktop::Picture PortalDesktop::Fresh() {
    if (!unread_) return Take();
    Picture picture = std::move(*unread_);
    unread_.reset();
    return picture;
}

ScreenRegion PortalDesktop::AllMonitors() {
    if (!size_) unread_ = Take();
    return {0, 0, size_->width, size_->height};
}

ScreenRegion PortalDesktop::PrimaryMonitor() { return AllMonitors(); }

std::int32_t PortalDesktop::Pixel(std::int32_t x, std::int32_t y) {
    const Picture picture = Fresh();
    if (x < 0 || y < 0 || x >= picture.size.width || y >= picture.size.height) return -1;
    Surface pixel(1, 1);
    if (const std::string failure = ReadPngArea(picture.png.Bytes(), {x, y, 1, 1}, pixel, {0, 0}); !failure.empty())
        throw ScreenRefused("cannot read the desktop portal's screenshot: " + failure);
    return pixel.Pixel(0, 0);
}

void PortalDesktop::ReadArea(std::int32_t left, std::int32_t top, Surface& target) {
    const Picture picture = Fresh();
    // The target's rectangle clipped to the picture, in 64 bits: left + width may pass 2^31.
    const std::int64_t x0 = std::max<std::int64_t>(left, 0);
    const std::int64_t y0 = std::max<std::int64_t>(top, 0);
    const std::int64_t x1 = std::min<std::int64_t>(std::int64_t{left} + target.Width(), picture.size.width);
    const std::int64_t y1 = std::min<std::int64_t>(std::int64_t{top} + target.Height(), picture.size.height);
    if (x1 <= x0 || y1 <= y0) return;
    const ScreenRegion area{static_cast<std::int32_t>(x0), static_cast<std::int32_t>(y0),
                            static_cast<std::int32_t>(x1 - x0), static_cast<std::int32_t>(y1 - y0)};
    const ScreenPoint at{static_cast<std::int32_t>(x0 - left), static_cast<std::int32_t>(y0 - top)};
    if (const std::string failure = ReadPngArea(picture.png.Bytes(), area, target, at); !failure.empty())
        throw ScreenRefused("cannot read the desktop portal's screenshot: " + failure);
}

ScreenPoint PortalDesktop::PointerPos() { throw DesktopUnavailable(kNoPointer); }
void PortalDesktop::SetPointerPos(ScreenPoint) { throw DesktopUnavailable(kNoPointer); }
WindowHandle PortalDesktop::WindowAt(ScreenPoint) { throw DesktopUnavailable(kNoWindows); }
WindowTexts PortalDesktop::ReadWindowTexts(WindowHandle) { throw DesktopUnavailable(kNoWindows); }
std::vector<TopLevelWindow> PortalDesktop::TopLevelWindows() { throw DesktopUnavailable(kNoWindows); }
WindowPlace PortalDesktop::PlaceOfWindow(WindowHandle) { throw DesktopUnavailable(kNoWindows); }
CurrentCursor PortalDesktop::ReadCursor() { throw DesktopUnavailable(kNoCursor); }

}  // namespace pelmora
