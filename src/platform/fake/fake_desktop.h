// A scripted desktop for tests: a screen surface and a pointer that the test sets.
#pragma once

#include "platform/desktop.h"

namespace pelmora {

class FakeDesktop : public Desktop {
public:
    explicit FakeDesktop(int width = 1024, int height = 768, std::int32_t fill = 0) : screen(width, height, fill) {}

    ScreenPoint PointerPos() override { return pointer; }
    // Keeps the pointer on the screen, as a real desktop does.
    void SetPointerPos(ScreenPoint point) override;
    ScreenSize Size() override { return {screen.Width(), screen.Height()}; }
    std::int32_t Pixel(std::int32_t x, std::int32_t y) override { return screen.Pixel(x, y); }
    void ReadArea(std::int32_t left, std::int32_t top, Surface& target) override;

    Surface screen;
    ScreenPoint pointer;
    int areaReads = 0;
};

}  // namespace pelmora
