// Offset grabbing (Frame1(2)) and the start point (Frame1(0)): which pixel is sampled
// for a pointer position, and relative to which point its coordinates are reported.
#pragma once

#include <array>
#include <cstdint>

#include "platform/controls.h"
#include "platform/desktop.h"

namespace pelmora {

struct GrabPoint {
    ScreenPoint sampled;  // where the colour is read
    double reportedX;     // the coordinates shown; fractional when the start point is
    double reportedY;
};

class GrabAdjustment {
public:
    // Places the offset controls into offsetFrame and the start point into startFrame,
    // with room for two clipboard buttons beside the start point's fields.
    void Place(ControlHost& host, Frame& offsetFrame, Frame& startFrame);

    void Check2_Click();
    void Command3_Click();
    void Command4_Click();

    // The sampled point is the pointer plus GrabOffset on both axes; the reported
    // coordinates are the sampled point less the start point while Check3 is checked.
    GrabPoint AdjustGrabPoint(ScreenPoint pointer) const;

    CheckBox Check2;
    Label Label11;  // index 1: "偏移量＝"
    Label Label10;  // the offset, -9 to 9
    CommandButton Command3, Command4;
    CheckBox Check3;
    TextBox 起x, 起y;
    std::array<Label, 2> 起点标签;  // "Qx：", "Qy："
    std::int16_t GrabOffset = 0;

private:
    void StepOffset(int step);
};

}  // namespace pelmora
