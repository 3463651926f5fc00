// The screen, the pointer and (later) the windows and the cursor, as the program sees
// them. Coordinates are screen pixels with the origin at the primary screen's top-left.
#pragma once

#include <cstdint>

#include "platform/surface.h"

namespace pelmora {

struct ScreenPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

struct ScreenSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

class Desktop {
public:
    virtual ~Desktop() = default;
    virtual ScreenPoint PointerPos() = 0;
    virtual void SetPointerPos(ScreenPoint point) = 0;
    virtual ScreenSize Size() = 0;
    // Colour value (0x00BBGGRR) of one screen pixel; -1 off the screen or when the
    // pixel cannot be read.
    virtual std::int32_t Pixel(std::int32_t x, std::int32_t y) = 0;
    // Copies the screen rectangle whose top-left is (left, top) and whose size is the
    // target's into target; pixels off the screen are left as they were in target.
    virtual void ReadArea(std::int32_t left, std::int32_t top, Surface& target) = 0;
};

}  // namespace pelmora
