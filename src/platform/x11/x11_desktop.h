// The desktop over Xlib: the real pointer and the real screen pixels of the root window.
#pragma once

#include "platform/desktop.h"
#include "platform/x11/x11_connection.h"

namespace pelmora {

class X11Desktop : public Desktop {
public:
    explicit X11Desktop(X11Connection& connection);

    ScreenPoint PointerPos() override;
    void SetPointerPos(ScreenPoint point) override;
    ScreenSize Size() override;
    std::int32_t Pixel(std::int32_t x, std::int32_t y) override;
    void ReadArea(std::int32_t left, std::int32_t top, Surface& target) override;
    WindowHandle WindowAt(ScreenPoint point) override;
    WindowTexts ReadWindowTexts(WindowHandle window) override;
    std::vector<TopLevelWindow> TopLevelWindows() override;

private:
    std::int32_t ToColour(unsigned long pixel) const;

    X11Connection& connection_;
    unsigned long redMask_, greenMask_, blueMask_;
};

}  // namespace pelmora
