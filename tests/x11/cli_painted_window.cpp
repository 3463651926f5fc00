// SPDX-License-Identifier: MIT
#include "cli_painted_window.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace pelmora::testing {

namespace {
// A colour value 0x00BBGGRR as the pixel of a 24-bit TrueColor screen, 0xRRGGBB.
unsigned long ScreenPixelOf(std::int32_t colour) {
    const auto value = static_cast<unsigned long>(colour);
    return (value & 0xFF) << 16 | (value & 0xFF00) | (value >> 16 & 0xFF);
}
}  // namespace

void ShowPicture(DesktopClient& client, XWindowId window, int width, int height, const PictureColours& colourAt) {
    ::Display* display = client.display();
    const int screen = DefaultScreen(display);
    const Pixmap pixmap = XCreatePixmap(display, window, static_cast<unsigned>(width), static_cast<unsigned>(height),
                                        static_cast<unsigned>(DefaultDepth(display, screen)));
    XImage* image = XGetImage(display, pixmap, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                              AllPlanes, ZPixmap);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) XPutPixel(image, x, y, ScreenPixelOf(colourAt(x, y)));
    const GC gc = XCreateGC(display, pixmap, 0, nullptr);
    XPutImage(display, pixmap, gc, image, 0, 0, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XFreeGC(display, gc);
    XDestroyImage(image);
    XSetWindowBackgroundPixmap(display, window, pixmap);
    XFreePixmap(display, pixmap);  // the window keeps it as long as it needs it
    XClearWindow(display, window);
    client.Sync();
}

void FillWindow(DesktopClient& client, XWindowId window, std::int32_t colour) {
    XSetWindowBackground(client.display(), window, ScreenPixelOf(colour));
    XClearWindow(client.display(), window);
    client.Sync();
}

}  // namespace pelmora::testing
