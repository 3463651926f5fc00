// SPDX-License-Identifier: MIT
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

    // Offset grabbing on: GrabOffset takes Label10's value and the steppers work; off: 0.
    void Check2_Click();
    // The offset one up (to 9 at most) or one down (to -9 at least).
    void Command3_Click();
    void Command4_Click();

    // The sampled point is the pointer plus GrabOffset on both axes; the reported
    // coordinates are the sampled point less the start point while Check3 is checked.
    GrabPoint AdjustGrabPoint(ScreenPoint pointer) const;

    CheckBox Check2;                   // "偏移抓点": offset grabbing on or off
    Label Label11;                     // index 1: "偏移量＝"
    Label Label10;                     // the offset, -9 to 9
    CommandButton Command3, Command4;  // "+" and "-": the offset up or down
    CheckBox Check3;                   // "定位起点": coordinates relative to the start point
    TextBox 起x, 起y;                  // the start point
    std::array<Label, 2> 起点标签;     // "Qx：", "Qy："
    std::int16_t GrabOffset = 0;       // added to the pointer's x and y; 0 while Check2 is off

private:
    // Label10 and GrabOffset moved by step, unless that leaves -9 to 9.
    void StepOffset(int step);
};

}  // namespace pelmora
