// SPDX-License-Identifier: MIT
#include "backends/x11/x11_desktop.h"

#include <X11/extensions/Xfixes.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <memory>
#include <span>

namespace pelmora {

X11Desktop::X11Desktop(X11Connection& connection) : connection_(connection), screen_(connection) {}

ScreenPoint X11Desktop::PointerPos() {
    if (!connection_.Alive()) return {};
    ::Window rootReturn, child;
    int rootX = 0, rootY = 0, windowX, windowY;
    unsigned int mask;
    XQueryPointer(connection_.display(), connection_.root(), &rootReturn, &child, &rootX, &rootY, &windowX, &windowY,
                  &mask);
    return {rootX, rootY};
}

void X11Desktop::SetPointerPos(ScreenPoint point) {
    if (!connection_.Alive()) return;
    XWarpPointer(connection_.display(), None, connection_.root(), 0, 0, 0, 0, point.x, point.y);
    XFlush(connection_.display());
}

ScreenSize X11Desktop::Size() {
    // The root as it is now: Xlib's DisplayWidth keeps the size the connection started with,
    // and RandR may have resized the root since (a monitor plugged in).
    if (!connection_.Alive()) return {};
    X11ErrorTrap trap(connection_.display());
    Window root = None;
    int x = 0, y = 0;
    unsigned width = 0, height = 0, border = 0, depth = 0;
    if (!XGetGeometry(connection_.display(), connection_.root(), &root, &x, &y, &width, &height, &border, &depth))
        return {};
    return {static_cast<std::int32_t>(width), static_cast<std::int32_t>(height)};
}

std::vector<ScreenRegion> X11Desktop::Monitors() {
    const ScreenSize root = Size();
    std::vector<ScreenRegion> wholeRoot{{0, 0, root.width, root.height}};
    if (!connection_.Alive()) return wholeRoot;
    Display* display = connection_.display();
    if (!hasMonitors_) {
        int eventBase = 0, errorBase = 0, major = 0, minor = 0;
        hasMonitors_ = XRRQueryExtension(display, &eventBase, &errorBase) && XRRQueryVersion(display, &major, &minor) &&
                       (major > 1 || (major == 1 && minor >= 5));
    }
    if (!*hasMonitors_) return wholeRoot;
    X11ErrorTrap trap(display);
    int count = 0;
    const std::unique_ptr<XRRMonitorInfo, decltype(&XRRFreeMonitors)> monitors(
        XRRGetMonitors(display, connection_.root(), True, &count), &XRRFreeMonitors);
    if (!monitors || count <= 0) return wholeRoot;
    std::vector<ScreenRegion> regions;
    for (const XRRMonitorInfo& monitor : std::span(monitors.get(), static_cast<std::size_t>(count))) {
        // A monitor may be defined reaching past the root, where there is nothing to take.
        const int left = std::max(monitor.x, 0), top = std::max(monitor.y, 0);
        const int right = std::min(monitor.x + monitor.width, root.width);
        const int bottom = std::min(monitor.y + monitor.height, root.height);
        if (right <= left || bottom <= top) continue;
        const ScreenRegion region{left, top, right - left, bottom - top};
        if (monitor.primary) regions.insert(regions.begin(), region);
        else regions.push_back(region);
    }
    return regions.empty() ? wholeRoot : regions;
}

ScreenRegion X11Desktop::PrimaryMonitor() { return Monitors().front(); }

std::int32_t X11Desktop::Pixel(std::int32_t x, std::int32_t y) {
    // The root spans every monitor from (0, 0). A point past its right or bottom edge makes
    // the server refuse the read, which is how such a point is told, without asking the
    // root's size first; the pixel then keeps the -1 it starts with.
    if (x < 0 || y < 0) return -1;
    Surface pixel(1, 1, -1);
    screen_.Read(x, y, 1, 1, pixel, 0, 0);
    return pixel.Pixel(0, 0);
}

void X11Desktop::ReadArea(std::int32_t left, std::int32_t top, Surface& target) {
    if (!connection_.Alive()) return;
    // Only the part on the root window can be read (the server refuses a rectangle that
    // reaches past it). The root's size as last measured serves while the rectangle lies
    // within it; it is measured again when the rectangle reaches past it (the screen may
    // have grown) or the read is refused (it may have shrunk), so a sampling tick costs
    // no extra round trip.
    const std::int64_t right = std::int64_t{left} + target.Width();
    const std::int64_t bottom = std::int64_t{top} + target.Height();
    if (right > rootSize_.width || bottom > rootSize_.height) rootSize_ = Size();
    if (ReadOnRoot(left, top, target)) return;
    rootSize_ = Size();
    ReadOnRoot(left, top, target);
}

bool X11Desktop::ReadOnRoot(std::int32_t left, std::int32_t top, Surface& target) {
    // 64-bit sums, since left + width may pass the 32-bit range.
    const std::int64_t x0 = std::max<std::int64_t>(left, 0);
    const std::int64_t y0 = std::max<std::int64_t>(top, 0);
    const std::int64_t x1 = std::min<std::int64_t>(std::int64_t{left} + target.Width(), rootSize_.width);
    const std::int64_t y1 = std::min<std::int64_t>(std::int64_t{top} + target.Height(), rootSize_.height);
    if (x0 >= x1 || y0 >= y1) return true;  // nothing of it on the screen
    return screen_.Read(static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1 - x0),
                        static_cast<int>(y1 - y0), target, static_cast<int>(x0 - left), static_cast<int>(y0 - top));
}

CurrentCursor X11Desktop::ReadCursor() {
    if (!connection_.Alive()) return {};
    // Asked on the first read (two round trips), not at start: most users of the desktop,
    // such as a one-shot pelmora-cli command, never read the cursor.
    if (!hasXFixes_) {
        int eventBase = 0, errorBase = 0;
        hasXFixes_ = XFixesQueryExtension(connection_.display(), &eventBase, &errorBase);
    }
    if (!*hasXFixes_) return {};
    X11ErrorTrap trap(connection_.display());
    XFixesCursorImage* read = XFixesGetCursorImage(connection_.display());
    if (!read) return {false, PointerPos(), {}};
    std::unique_ptr<XFixesCursorImage, decltype(&XFree)> cursor(read, &XFree);
    CurrentCursor current{
        true, {cursor->x, cursor->y}, {cursor->width, cursor->height, cursor->xhot, cursor->yhot, {}}};
    // Each pixel is an unsigned long holding premultiplied 0xAARRGGBB in its low 32 bits:
    // red and blue change places.
    const std::size_t count = static_cast<std::size_t>(cursor->width) * cursor->height;
    current.image.pixels.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto argb = static_cast<std::uint32_t>(cursor->pixels[i]);
        current.image.pixels[i] = (argb & 0xFF00FF00) | (argb >> 16 & 0xFF) | (argb & 0xFF) << 16;
    }
    return current;
}

}  // namespace pelmora
