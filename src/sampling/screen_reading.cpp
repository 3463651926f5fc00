#include "sampling/screen_reading.h"

namespace pelmora {

ScreenPoint GetPointerPos(Desktop& desktop) { return desktop.PointerPos(); }

Colour GetScreenPixel(Desktop& desktop, std::int32_t x, std::int32_t y) {
    const ScreenSize size = desktop.Size();
    if (x < 0 || y < 0 || x >= size.width || y >= size.height) return kColourNoPixel;
    return desktop.Pixel(x, y);
}

ScreenSize GetScreenSize(Desktop& desktop) { return desktop.Size(); }

}  // namespace pelmora
