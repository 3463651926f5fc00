#include "platform/x11/x11_desktop.h"

#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

#include <algorithm>
#include <bit>

namespace pelmora {

namespace {
// The 8-bit value of the channel that mask selects in pixel.
unsigned Channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const unsigned long value = (pixel & mask) >> shift;
    const unsigned long maximum = mask >> shift;
    return maximum == 255 ? static_cast<unsigned>(value) : static_cast<unsigned>(value * 255 / maximum);
}

struct ImageDeleter {
    void operator()(XImage* image) const { XDestroyImage(image); }
};
}  // namespace

X11Desktop::X11Desktop(X11Connection& connection) : connection_(connection) {
    const Visual* visual = DefaultVisual(connection.display(), DefaultScreen(connection.display()));
    redMask_ = visual->red_mask;
    greenMask_ = visual->green_mask;
    blueMask_ = visual->blue_mask;
    int eventBase = 0, errorBase = 0;
    hasXFixes_ = XFixesQueryExtension(connection.display(), &eventBase, &errorBase);
}

std::int32_t X11Desktop::ToColour(unsigned long pixel) const {
    return static_cast<std::int32_t>(Channel(pixel, redMask_) | Channel(pixel, greenMask_) << 8 |
                                     Channel(pixel, blueMask_) << 16);
}

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
    if (!connection_.Alive()) return {};
    const int screen = DefaultScreen(connection_.display());
    return {DisplayWidth(connection_.display(), screen), DisplayHeight(connection_.display(), screen)};
}

std::int32_t X11Desktop::Pixel(std::int32_t x, std::int32_t y) {
    if (!connection_.Alive()) return -1;
    // A point off the root window makes the server refuse the read (BadMatch): -1.
    X11ErrorTrap trap(connection_.display());
    std::unique_ptr<XImage, ImageDeleter> image(
        XGetImage(connection_.display(), connection_.root(), x, y, 1, 1, AllPlanes, ZPixmap));
    if (!image) return -1;
    return ToColour(XGetPixel(image.get(), 0, 0));
}

void X11Desktop::ReadArea(std::int32_t left, std::int32_t top, Surface& target) {
    if (!connection_.Alive()) return;
    const ScreenSize size = Size();
    const int x0 = std::max(left, 0);
    const int y0 = std::max(top, 0);
    const int x1 = std::min(left + target.Width(), size.width);
    const int y1 = std::min(top + target.Height(), size.height);
    if (x0 >= x1 || y0 >= y1) return;
    X11ErrorTrap trap(connection_.display());
    std::unique_ptr<XImage, ImageDeleter> image(XGetImage(connection_.display(), connection_.root(), x0, y0,
                                                          static_cast<unsigned>(x1 - x0),
                                                          static_cast<unsigned>(y1 - y0), AllPlanes, ZPixmap));
    if (!image) return;
    for (int y = y0; y < y1; ++y) {
        std::int32_t* row = target.Row(y - top);
        for (int x = x0; x < x1; ++x) row[x - left] = ToColour(XGetPixel(image.get(), x - x0, y - y0));
    }
}

CurrentCursor X11Desktop::ReadCursor() {
    if (!connection_.Alive() || !hasXFixes_) return {};
    X11ErrorTrap trap(connection_.display());
    XFixesCursorImage* read = XFixesGetCursorImage(connection_.display());
    if (!read) return {false, PointerPos(), {}};
    std::unique_ptr<XFixesCursorImage, decltype(&XFree)> cursor(read, &XFree);
    CurrentCursor current{true, {cursor->x, cursor->y}, {cursor->width, cursor->height, cursor->xhot, cursor->yhot, {}}};
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
